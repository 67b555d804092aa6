// A controller that refuses a step, falls silent or misbehaves: the step's
// "Fail" and error text, then diagnostic mode closed and the device closed.
#include <gtest/gtest.h>

#include <ostream>
#include <tuple>

#include "qdx_writer_fixture.h"

namespace {

struct TRefusalCase {
  const char* name;
  TStandinEnv env;
  std::vector<uint8_t> image;
  std::string output;  // after "Connected to Tolvane.\n"
  std::string error;   // "" for a successful run
};

std::ostream& operator<<(std::ostream& out, const TRefusalCase& c) { return out << c.name; }

// The information report period; 0: the controller is not in diagnostic
// mode when the writer comes. Otherwise it reports from the start, as after
// the device tool's status dump, until the writer's close.
using TReporting = unsigned;

class QdxRefusal : public TQdxWriterTest, public ::testing::WithParamInterface<std::tuple<TRefusalCase, TReporting>> {
 protected:
  void BeginReporting(const TRefusalCase& c) {
    TStandinEnv env = c.env;
    const TReporting period = std::get<1>(GetParam());
    if (period > 0) {
      env.emplace_back("QDXSIM_REPORTING", "1");
      env.emplace_back("QDXSIM_REPORT_MS", std::to_string(period));
    }
    ASSERT_NO_FATAL_FAILURE(Begin(env));
  }
};

TEST_P(QdxRefusal, EndsWithTheStepsMessageAndClosesDiagnosticMode) {
  const TRefusalCase& c = std::get<0>(GetParam());
  ASSERT_NO_FATAL_FAILURE(BeginReporting(c));
  const TSaveRun run = Save(outtest::Bytes(0, c.image), PathDestination());
  EXPECT_EQ(run.output, "Connected to Tolvane.\n" + c.output);
  EXPECT_EQ(run.result, c.error.empty());
  EXPECT_EQ(run.error, c.error);
  const std::vector<TRecordLine> writes = standin_events(Record(), "write");
  ASSERT_FALSE(writes.empty());
  // The last packet is the close command (02 02 28 00 ...), and the device is closed.
  EXPECT_EQ(writes.back().fields.at(2).substr(0, 8), "02022800");
  EXPECT_EQ(EventFields("close", 0), std::vector<std::string>{"0"});
}

std::vector<uint8_t> Corrupted() {
  std::vector<uint8_t> image = qdxtest_ValidImage();
  image[210] ^= 0x01;
  return image;
}

const std::vector<uint8_t> valid = qdxtest_ValidImage();
const std::vector<uint8_t> twoBlocks(256, 0x11);
const std::string stop = "Stopping QDX ... ";
const std::string erase = stop + "OK\nErasing code ... ";
const std::string load = erase + "OK\nLoading program ... ";
const std::string verify = load + "** OK\nVerifying and starting ... ";
const std::string closedOk = "Closing diag... OK\n";

INSTANTIATE_TEST_SUITE_P(
    Controllers, QdxRefusal,
    ::testing::Combine(::testing::Values(TRefusalCase{"stop_refused",
                                                      {{"QDXSIM_FAULTS", "refuse:stop"}},
                                                      valid,
                                                      stop + "Fail\n" + closedOk,
                                                      "ERROR: QDX cannot be stopped!"},
                                         TRefusalCase{"stop_misconfirmed",
                                                      {{"QDXSIM_FAULTS", "misconfirm:stop"}},
                                                      valid,
                                                      stop + "Fail\n" + closedOk,
                                                      "ERROR: QDX cannot be stopped!"},
                                         TRefusalCase{"silent_controller",
                                                      {{"QDXSIM_FAULTS", "silent"}},
                                                      valid,
                                                      stop + "Fail\n" + closedOk,
                                                      "ERROR: QDX cannot be stopped!"},
                                         TRefusalCase{"first_write_fails",
                                                      {{"QDXSIM_FAULTS", "write_fail:1"}},
                                                      valid,
                                                      stop + "Fail\n" + closedOk,
                                                      "ERROR: QDX cannot be stopped!"},
                                         TRefusalCase{"erase_refused",
                                                      {{"QDXSIM_FAULTS", "refuse:erase"}},
                                                      valid,
                                                      erase + "Fail\n" + closedOk,
                                                      "ERROR: QDX erase fail!"},
                                         TRefusalCase{"erase_misconfirmed",
                                                      {{"QDXSIM_FAULTS", "misconfirm:erase"}},
                                                      valid,
                                                      erase + "Fail\n" + closedOk,
                                                      "ERROR: QDX erase fail!"},
                                         TRefusalCase{"second_block_refused",
                                                      {{"QDXSIM_FAULTS", "block_error:2"}},
                                                      twoBlocks,
                                                      load + "*Fail\n" + closedOk,
                                                      "ERROR: QDX load code fail!"},
                                         TRefusalCase{"block_write_fails",
                                                      {{"QDXSIM_FAULTS", "write_fail:4"}},
                                                      valid,
                                                      load + "Fail\n" + closedOk,
                                                      "ERROR: QDX load code fail!"},
                                         TRefusalCase{"start_refused",
                                                      {{"QDXSIM_FAULTS", "refuse:start"}},
                                                      valid,
                                                      verify + "Fail\n" + closedOk,
                                                      "ERROR: QDX code verify fail!"},
                                         TRefusalCase{"crc_of_the_image_wrong",
                                                      {},
                                                      Corrupted(),
                                                      verify + "Fail\n" + closedOk,
                                                      "ERROR: QDX code verify fail!"},
                                         TRefusalCase{"malformed_report_before_each_answer",
                                                      {{"QDXSIM_FAULTS", "short_report"}},
                                                      valid,
                                                      verify + "OK\n" + closedOk,
                                                      ""},
                                         TRefusalCase{"reports_of_another_id_between",
                                                      {{"QDXSIM_FAULTS", "foreign"}},
                                                      valid,
                                                      verify + "OK\n" + closedOk,
                                                      ""},
                                         TRefusalCase{"programmed", {}, valid, verify + "OK\n" + closedOk, ""},
                                         TRefusalCase{"erase_confirmed_at_once",
                                                      {{"QDXSIM_ERASE_MS", "0"}},
                                                      valid,
                                                      verify + "OK\n" + closedOk,
                                                      ""},
                                         TRefusalCase{"close_refused",
                                                      {{"QDXSIM_FAULTS", "refuse:close"}},
                                                      valid,
                                                      verify + "OK\nClosing diag... Fail\n",
                                                      ""}),
                       ::testing::Values(0u, 2u, 5u, 20u, 50u)),
    [](const ::testing::TestParamInfo<std::tuple<TRefusalCase, TReporting>>& info) {
      const TReporting period = std::get<1>(info.param);
      return std::string(std::get<0>(info.param).name) +
             (period == 0 ? std::string("_not_reporting") : "_information_every_" + std::to_string(period) + "ms");
    });

class QdxEndlessBusy : public TQdxWriterTest {};

// A controller that stays busy after a block: the load gives up after its
// busy period, and the close, which hears the busy reports, fails.
TEST_F(QdxEndlessBusy, EndsTheLoadWithinItsBound) {
  ASSERT_NO_FATAL_FAILURE(Begin({{"QDXSIM_FAULTS", "busy_forever"}}));
  const TSaveRun run = Save(outtest::Bytes(0, valid), PathDestination());
  EXPECT_FALSE(run.result);
  EXPECT_EQ(run.output, "Connected to Tolvane.\n" + load + "Fail\nClosing diag... Fail\n");
  EXPECT_EQ(run.error, "ERROR: QDX load code fail!");
  EXPECT_EQ(EventFields("close", 0), std::vector<std::string>{"0"});
}

}  // namespace
