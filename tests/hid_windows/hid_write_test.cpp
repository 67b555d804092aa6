// hid_write in the Windows backend on an ordinary file, where a write
// completes at once: the device's output report length (65 here) pads a
// shorter report, a longer one goes out whole after the trace's warning.
#include <gtest/gtest.h>

#include <string>

#include "file_io.h"
#include "hid_backend_fixture.h"
#include "temp_dir.h"

namespace {

const char* const WARNING = "WARNING: Trying to send too many bytes! (Max:65)\n";

struct TWriteCase {
  const char* name;
  size_t length;
  int written;  // hid_write's result
  bool warned;
};

std::ostream& operator<<(std::ostream& out, const TWriteCase& c) { return out << c.name; }

class HidWrite : public THidBackendTest, public ::testing::WithParamInterface<TWriteCase> {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(Start({{"QDXSIM_REPORT_LENGTHS", "65,65,9"}}, false));
    file = folder.Write("device", "");
    device = hid_open_path(file.c_str());
    ASSERT_NE(device, nullptr);
  }
  void TearDown() override {
    if (device) hid_close(device);
    THidBackendTest::TearDown();
  }

  testkit::TTempDir folder;
  std::string file;
  hid_device* device = nullptr;
};

TEST_P(HidWrite, WritesTheReportAndWarnsOnlyWhenItIsTooLong) {
  std::string report(GetParam().length, '\0');
  for (size_t i = 0; i < report.size(); ++i) report[i] = static_cast<char>(i + 1);
  testkit::TStdoutCapture trace;
  const int written = hid_write(device, reinterpret_cast<const unsigned char*>(report.data()), report.size());
  const std::string text = trace.Text();
  EXPECT_EQ(written, GetParam().written);
  EXPECT_EQ(occurrences(text, WARNING), GetParam().warned ? 1u : 0u) << text;
  EXPECT_EQ(text.rfind("\nWR" + std::to_string(GetParam().length) + ">01 02 ", 0), 0u) << text;
  // A shorter report goes out padded with zeros to the report length. The
  // file can be read once the device lets go of it.
  hid_close(device);
  device = nullptr;
  report.resize(static_cast<size_t>(GetParam().written), '\0');
  EXPECT_EQ(testkit::ReadFile(file), report);
}

INSTANTIATE_TEST_SUITE_P(Lengths, HidWrite,
                         ::testing::Values(TWriteCase{"short_report_padded", 10, 65, false},
                                           TWriteCase{"64_bytes", 64, 65, false},
                                           TWriteCase{"the_report_length", 65, 65, false},
                                           TWriteCase{"66_bytes_written_anyway", 66, 66, true}),
                         [](const ::testing::TestParamInfo<TWriteCase>& info) { return std::string(info.param.name); });

}  // namespace

namespace {

using HidWriteToTheController = THidBackendTest;

// A named pipe takes a report at once (a HID driver would let the write
// wait): such a write has succeeded, and hid_write says how much it wrote.
TEST_F(HidWriteToTheController, AWriteThatCompletesAtOnceReturnsItsLength) {
  ASSERT_NO_FATAL_FAILURE(Open());
  EXPECT_EQ(hid_write(dev, RESET_PACKET, sizeof RESET_PACKET), 64);
  ASSERT_NO_FATAL_FAILURE(WaitIdle());
  EXPECT_EQ(standin_fields(Record(), "write", 1), std::vector<std::string>{"64"});
}

}  // namespace
