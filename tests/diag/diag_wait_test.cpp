// The waits and reads under every operation: malformed and foreign reports,
// and the bounds in polls and milliseconds.
#include <gtest/gtest.h>

#include <ostream>

#include "diag_fixture.h"
#include "tolvane_clock.h"

namespace {

class DiagReports : public TDiagTest {
 protected:
  // A packet the controller answers with one report, left unread.
  void Unread() { ASSERT_TRUE(diag->SendDiagBuffer(DIAG_PKT_RESET, 1, false)); }
};

TEST_F(DiagReports, AMalformedReportDoesNotEndAWait) {
  ASSERT_NO_FATAL_FAILURE(Open({{"QDXSIM_FAULTS", "short_report"}}));
  ASSERT_NO_FATAL_FAILURE(Unread());
  TDiagResp out{};
  EXPECT_TRUE(diag->ReadResponse(&out));
  EXPECT_EQ(out.respCode, DIAG_RESP_OK) << "the answer behind the 63-byte report";
  EXPECT_EQ(traffic.reads, 2);
}

TEST_F(DiagReports, AMalformedReportIsStoredAsAnError) {
  ASSERT_NO_FATAL_FAILURE(Open({{"QDXSIM_FAULTS", "short_only"}}));
  ASSERT_NO_FATAL_FAILURE(Unread());
  EXPECT_EQ(diag->GetDiagResponse(1), -1);
  EXPECT_EQ(diag->GetLastResponseCode(), DIAG_RESP_ERROR);
  TDiagResp out{};
  EXPECT_FALSE(diag->ReadResponse(&out));
  EXPECT_EQ(out.respCode, DIAG_RESP_ERROR);
  EXPECT_EQ(out.statusWord, DIAG_CODE_BAD_REPORT);
  EXPECT_FALSE(diag->SetDiagMode(DIAG_MODE_STOP)) << "no valid acknowledgement ever comes";
}

// A report with another id is not the controller's answer: it must not
// replace the stored response that later decisions read.
TEST_F(DiagReports, AReportWithAnotherIdLeavesTheStoredResponse) {
  ASSERT_NO_FATAL_FAILURE(Open({{"QDXSIM_FAULTS", "foreign"}}));
  ASSERT_NO_FATAL_FAILURE(Unread());
  EXPECT_EQ(diag->GetDiagResponse(1), 64);
  EXPECT_EQ(diag->GetDiagResponse(5), -1) << "only the report with id 3 followed";
  EXPECT_EQ(diag->GetLastResponseCode(), DIAG_RESP_OK);
  TDiagResp out{};
  EXPECT_FALSE(diag->ReadResponse(&out));
  EXPECT_EQ(out.reportId, 2);
  EXPECT_EQ(out.respCode, DIAG_RESP_OK);
}

TEST_F(DiagReports, InformationAmongReportsOfAnotherId) {
  ASSERT_NO_FATAL_FAILURE(Open({{"QDXSIM_FAULTS", "foreign"}}));
  EXPECT_EQ(Information().reportId, 2);
}

TEST_F(DiagReports, ReadResponseWithoutARecordReadsNothing) {
  ASSERT_NO_FATAL_FAILURE(Open());
  ASSERT_NO_FATAL_FAILURE(Unread());
  EXPECT_FALSE(diag->ReadResponse(nullptr));
  EXPECT_EQ(traffic.reads, 0);
  EXPECT_EQ(diag->GetDiagResponse(1), 64) << "the answer is still there";
}

TEST_F(DiagReports, GetDiagResponseCountsItsPolls) {
  ASSERT_NO_FATAL_FAILURE(Open());
  EXPECT_EQ(diag->GetDiagResponse(0), -1);
  EXPECT_EQ(diag->GetDiagResponse(-3), -1);
  EXPECT_EQ(traffic.reads, 0);
  EXPECT_EQ(diag->GetDiagResponse(), -1);
  EXPECT_EQ(traffic.reads, 250);
}

struct TBusyCase {
  const char* name;
  TStandinEnv env;
  bool sendBlock;
  unsigned ms;
  bool result;
  int lastCode;
  uint64_t minElapsed;
};

std::ostream& operator<<(std::ostream& out, const TBusyCase& c) { return out << c.name; }

class DiagNotBusy : public TDiagTest, public ::testing::WithParamInterface<TBusyCase> {};

TEST_P(DiagNotBusy, WaitsOutTheBusyReportsWithinItsLimits) {
  const TBusyCase& c = GetParam();
  TStandinEnv env = c.env;
  env.emplace_back("QDXSIM_RUNNING", "0");
  ASSERT_NO_FATAL_FAILURE(Open(env));
  // The busy time starts when the block arrives, before its acknowledgement
  // is read: a slow reader (under an emulator) may read that late, so the
  // wait is timed from the send.
  const uint64_t t0 = ms_tick();
  if (c.sendBlock) {
    uint8_t block[132] = {};
    ASSERT_TRUE(diag->SendBuffer(block, sizeof block));
  }
  EXPECT_EQ(diag->WaitDiagNotBusy(c.ms), c.result);
  EXPECT_EQ(diag->GetLastResponseCode(), c.lastCode);
  EXPECT_GE(ms_since(t0), c.minElapsed);
  EXPECT_LT(ms_since(t0), c.ms + 5000);
}

INSTANTIATE_TEST_SUITE_P(
    Controllers, DiagNotBusy,
    ::testing::Values(
        TBusyCase{"stored", {{"QDXSIM_BUSY_MS", "40"}}, true, 1000, true, DIAG_RESP_OK, 30},
        TBusyCase{"block_refused", {{"QDXSIM_FAULTS", "block_error:1"}}, true, 1000, false, DIAG_RESP_ERROR, 0},
        TBusyCase{"busy_past_the_limit", {{"QDXSIM_FAULTS", "busy_forever"}}, true, 300, false, DIAG_RESP_BUSY, 300},
        TBusyCase{"nothing_reported_for_250_polls", {}, false, 1000, false, 0, 250}),
    [](const ::testing::TestParamInfo<TBusyCase>& info) { return std::string(info.param.name); });

class DiagRespCode : public TDiagTest {};

TEST_F(DiagRespCode, TheStoredCodeCountsAfterAnEmptyBurst) {
  ASSERT_NO_FATAL_FAILURE(Open());
  ASSERT_TRUE(diag->SetDiagMode(DIAG_MODE_STOP));
  traffic.Clear();
  EXPECT_TRUE(diag->WaitForDiagRespCode(DIAG_RESP_OK, 1000));
  EXPECT_EQ(traffic.reads, 10);
  traffic.Clear();
  EXPECT_FALSE(diag->WaitForDiagRespCode(DIAG_RESP_INFO, 1000)) << "a quiet controller ends the wait";
  EXPECT_EQ(traffic.reads, 10);
}

TEST_F(DiagRespCode, AReportingControllerIsWaitedOnUntilTheLimit) {
  // Every 5 ms: each burst of 10 polls sees a report, so only the limit ends the wait.
  ASSERT_NO_FATAL_FAILURE(Open({{"QDXSIM_REPORT_MS", "5"}}));
  ASSERT_TRUE(diag->SetDiagMode(DIAG_MODE_INFO));
  const uint64_t t0 = ms_tick();
  EXPECT_FALSE(diag->WaitForDiagRespCode(DIAG_RESP_OK, 150));
  EXPECT_GE(ms_since(t0), 150u);
  EXPECT_LT(ms_since(t0), 5000u);
}

}  // namespace
