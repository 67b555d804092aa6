#include "qdx_writer_fixture.h"

#include "diag_protocol.h"
#include "standin_images.h"
#include "stdout_capture.h"

const char* const QDX_CONNECTED_TO_LOADING =
    "Connected to Tolvane.\nStopping QDX ... OK\nErasing code ... OK\nLoading program ... ";
const char* const QDX_CANDIDATE = "QDX controller stand-in     -> ";

void TQdxWriterTest::Begin(const TStandinEnv& env) {
  ASSERT_NO_FATAL_FAILURE(Start(env, false));
  module = outtest::TModule::LoadCopy(QDXTEST_WR_QDX, folder.File(""));
  plugin = std::make_unique<outtest::TOutputPlugin>(*module);
  ASSERT_TRUE(outtest::BindServedImage(*plugin));
}

TSaveRun TQdxWriterTest::Save(const outtest::TImage& image, const std::string& destination) {
  outtest::ServeImage(image);
  TSaveRun run;
  testkit::TStdoutCapture output;
  run.result = plugin->saveAs(destination.c_str());
  run.output = output.Text();
  run.error = plugin->LastError();
  return run;
}

std::string TQdxWriterTest::PathDestination(int ordinal) {
  const std::string path = standin_diag_path(ordinal);
  EXPECT_FALSE(path.empty()) << "the stand-in lists no controller " << ordinal;
  return "/../?/qdx1://@" + path;
}

std::vector<TSentBlock> TQdxWriterTest::SentBlocks() const {
  // A load block is a data send of three packets (type 0, length bits 2).
  std::vector<TSentBlock> blocks;
  TBytes pending;
  for (const TBytes& packet : Written()) {
    if (packet.size() != DIAG_REPORT_SIZE || packet[0] != DIAG_REPORT_ID || (packet[1] & 0x3F) != 0x20) continue;
    if ((packet[1] >> 6) == 0) pending.clear();
    pending.insert(pending.end(), packet.begin() + 2, packet.end());
    if ((packet[1] >> 6) != 2) continue;
    TSentBlock block;
    block.address = pending[0] | pending[1] << 8 | pending[2] << 16 | static_cast<uint32_t>(pending[3]) << 24;
    block.data.assign(pending.begin() + 4, pending.begin() + 132);
    blocks.push_back(block);
  }
  return blocks;
}

std::vector<std::string> TQdxWriterTest::EventFields(const std::string& event, size_t field) const {
  std::vector<std::string> values;
  for (const TRecordLine& line : standin_events(Record(), event)) values.push_back(line.fields.at(field));
  return values;
}

std::vector<uint8_t> qdxtest_ValidImage() { return standin_valid_image(); }
