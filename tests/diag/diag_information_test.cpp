// Information reports, which the controller sends at any moment from the
// entry into diagnostic mode until the close: they answer only that entry.
// The waits for another answer pass over them, and what they decide on
// stays the answer's.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <tuple>

#include "diag_fixture.h"
#include "tolvane_clock.h"

namespace {

struct TActionCase {
  const char* name;
  bool stopped;  // the controller stopped first (erase and load need it)
  bool (*action)(TQDXDiagIf& diag);
};

std::ostream& operator<<(std::ostream& out, const TActionCase& c) { return out << c.name; }

bool Stop(TQDXDiagIf& diag) { return diag.SetDiagMode(DIAG_MODE_STOP); }

bool Reset(TQDXDiagIf& diag) { return diag.ResetDiag(); }

bool Erase(TQDXDiagIf& diag) { return diag.SetDiagMode(DIAG_MODE_ERASE); }

bool LoadBlock(TQDXDiagIf& diag) {
  uint8_t block[132] = {};
  return diag.SendBuffer(block, sizeof block) && diag.WaitDiagNotBusy(1000);
}

bool Close(TQDXDiagIf& diag) { return diag.SetDiagMode(DIAG_MODE_CLOSE); }

// The codes of the reports still queued, read off.
std::vector<int> UnreadCodes(hid_device* dev) {
  std::vector<int> codes;
  unsigned char report[64];
  while (hidio_read_now(dev, report, sizeof report) > 0) codes.push_back(report[1]);
  return codes;
}

int InformationReports(const std::vector<TRecordLine>& record) {
  int count = 0;
  for (const std::string& report : standin_fields(record, "report", 1)) count += report.rfind("0217", 0) == 0;
  return count;
}

class DiagInformation : public TDiagTest, public ::testing::WithParamInterface<std::tuple<TActionCase, unsigned>> {};

TEST_P(DiagInformation, IsPassedOverByTheWaitsForAnotherAnswer) {
  const TActionCase& c = std::get<0>(GetParam());
  const unsigned periodMs = std::get<1>(GetParam());
  ASSERT_NO_FATAL_FAILURE(
      Open({{"QDXSIM_REPORT_MS", std::to_string(periodMs)}, {"QDXSIM_RUNNING", c.stopped ? "0" : "1"}}));
  ASSERT_TRUE(diag->SetDiagMode(DIAG_MODE_INFO));
  // Information reports fall due ahead of the command's answer.
  ms_sleep(3 * periodMs);
  const int before = InformationReports(Record());
  EXPECT_TRUE(c.action(*diag));
  EXPECT_EQ(diag->GetLastResponseCode(), DIAG_RESP_OK) << "the stored answer";
  EXPECT_GT(InformationReports(Record()), before) << "information reports came meanwhile";
  for (int code : UnreadCodes(dev)) EXPECT_EQ(code, DIAG_RESP_INFO) << "an answer was left unread";
}

INSTANTIATE_TEST_SUITE_P(
    Actions, DiagInformation,
    ::testing::Combine(::testing::Values(TActionCase{"stop", false, Stop}, TActionCase{"reset", false, Reset},
                                         TActionCase{"erase", true, Erase}, TActionCase{"load_block", true, LoadBlock},
                                         TActionCase{"close", false, Close}),
                       ::testing::Values(2u, 5u, 20u)),
    [](const ::testing::TestParamInfo<std::tuple<TActionCase, unsigned>>& info) {
      return std::string(std::get<0>(info.param).name) + "_every_" + std::to_string(std::get<1>(info.param)) + "ms";
    });

class DiagInformationBound : public TDiagTest {};

// Passed over, each report still counts as a poll: a controller that
// reports without pause cannot hold a wait.
TEST_F(DiagInformationBound, CountsTowardTheWaitsPolls) {
  ASSERT_NO_FATAL_FAILURE(Open({{"QDXSIM_REPORT_MS", "1"}}));
  ASSERT_TRUE(diag->SetDiagMode(DIAG_MODE_INFO));
  traffic.Clear();
  EXPECT_FALSE(diag->WaitDiagNotBusy(60000));
  EXPECT_EQ(traffic.reads, 250);
  EXPECT_EQ(diag->GetLastResponseCode(), DIAG_RESP_INFO) << "still the entry's own answer";
}

// A pause of the program while the controller reports fills its queue, and
// a full hidraw queue takes no further report: what came before the packet
// goes, so that its answer has room.
TEST_F(DiagInformationBound, APauseBeforeAPacketLeavesRoomForItsAnswer) {
  ASSERT_NO_FATAL_FAILURE(Open({{"QDXSIM_REPORT_MS", "1"}}));
  ASSERT_TRUE(diag->SetDiagMode(DIAG_MODE_INFO));
  ms_sleep(200);  // far more reports than the queue holds
  EXPECT_TRUE(diag->SetDiagMode(DIAG_MODE_STOP));
  EXPECT_EQ(diag->GetLastResponseCode(), DIAG_RESP_OK);
}

}  // namespace
