// Mode commands: each mode's confirmation rule, its attempts, and the
// quiet test after leaving diagnostic mode.
#include <gtest/gtest.h>

#include <ostream>

#include "diag_fixture.h"
#include "standin_images.h"
#include "tolvane_clock.h"

namespace {

struct TModeCase {
  const char* name;
  TStandinEnv env;
  DIAG_CONSTANTS mode;
  bool result;
  int reads;  // -1: not counted (the confirmation comes at its own time)
};

std::ostream& operator<<(std::ostream& out, const TModeCase& c) { return out << c.name; }

class DiagMode : public TDiagTest, public ::testing::WithParamInterface<TModeCase> {};

// Reads: the flush before the packet that finds nothing, the
// acknowledgement, the drain that finds nothing, then 10 polls per empty
// burst; an unconfirmed mode gives up after 20 attempts, erase after 50.
TEST_P(DiagMode, ConfirmsByItsOwnRule) {
  ASSERT_NO_FATAL_FAILURE(Open(GetParam().env));
  EXPECT_EQ(diag->SetDiagMode(GetParam().mode), GetParam().result);
  if (GetParam().reads >= 0) {
    EXPECT_EQ(traffic.reads, GetParam().reads);
  }
}

const TStandinEnv stopped = {{"QDXSIM_RUNNING", "0"}};

INSTANTIATE_TEST_SUITE_P(
    Modes, DiagMode,
    ::testing::Values(
        TModeCase{"stop_satisfied_by_the_stored_acknowledgement", {}, DIAG_MODE_STOP, true, 1 + 1 + 1 + 10},
        TModeCase{"stop_refused", {{"QDXSIM_FAULTS", "refuse:stop"}}, DIAG_MODE_STOP, false, 1 + 1},
        TModeCase{"stop_wrong_status_word",
                  {{"QDXSIM_FAULTS", "misconfirm:stop"}},
                  DIAG_MODE_STOP,
                  false,
                  1 + 1 + 1 + 20 * 10},
        TModeCase{"stop_unanswered", {{"QDXSIM_FAULTS", "silent"}}, DIAG_MODE_STOP, false, 1 + 250},
        TModeCase{"stop_mode_packet_not_written", {{"QDXSIM_FAULTS", "write_fail:1"}}, DIAG_MODE_STOP, false, 1},
        TModeCase{"erase_confirmed_by_a_later_report", stopped, DIAG_MODE_ERASE, true, -1},
        // Queued right behind the acknowledgement, the confirmation is read, not flushed away.
        TModeCase{"erase_confirmed_at_once",
                  {{"QDXSIM_RUNNING", "0"}, {"QDXSIM_ERASE_MS", "0"}},
                  DIAG_MODE_ERASE,
                  true,
                  1 + 1 + 2 + 10},
        TModeCase{"erase_answered_with_word_44_gives_up_after_50_attempts",
                  {{"QDXSIM_RUNNING", "0"}, {"QDXSIM_FAULTS", "misconfirm:erase"}},
                  DIAG_MODE_ERASE,
                  false,
                  1 + 1 + 1 + 50 * 10},
        TModeCase{"erase_refused_while_running", {}, DIAG_MODE_ERASE, false, 1 + 1},
        TModeCase{"start_refused_without_a_program", stopped, DIAG_MODE_START, false, 1 + 1},
        TModeCase{"info_confirmed_by_the_information_report", {}, DIAG_MODE_INFO, true, -1},
        TModeCase{"info_answered_with_ok_is_not_confirmed",
                  {{"QDXSIM_FAULTS", "misconfirm:info"}},
                  DIAG_MODE_INFO,
                  false,
                  1 + 1 + 1 + 20 * 10},
        TModeCase{"info_refused", {{"QDXSIM_FAULTS", "refuse:info"}}, DIAG_MODE_INFO, false, 1 + 1},
        TModeCase{"malformed_report_before_each_answer",
                  {{"QDXSIM_FAULTS", "short_report"}},
                  DIAG_MODE_STOP,
                  true,
                  1 + 2 + 1 + 10},
        TModeCase{
            "reports_of_another_id_between", {{"QDXSIM_FAULTS", "foreign"}}, DIAG_MODE_STOP, true, 1 + 1 + 2 + 10}),
    [](const ::testing::TestParamInfo<TModeCase>& info) { return std::string(info.param.name); });

class DiagStart : public TDiagTest {};

TEST_F(DiagStart, StartsAVerifiedProgram) {
  ASSERT_NO_FATAL_FAILURE(Open());
  ASSERT_NO_FATAL_FAILURE(Load(standin_valid_image()));
  EXPECT_TRUE(diag->SetDiagMode(DIAG_MODE_START));
  const TDiagResp info = Information();
  EXPECT_TRUE(info.statusWord & DIAG_FLAG_RUNNING);
  EXPECT_EQ(info.stopReason, 0);
  std::vector<TRecordLine> starts = standin_events(Record(), "start");
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].fields, (std::vector<std::string>{"0", "ok", "112", "f72f"}));
}

TEST_F(DiagStart, RefusesACorruptedProgramWithTheCrcStopReason) {
  ASSERT_NO_FATAL_FAILURE(Open());
  TBytes image = standin_valid_image();
  image[0x10] ^= 0x80;
  ASSERT_NO_FATAL_FAILURE(Load(image));
  EXPECT_FALSE(diag->SetDiagMode(DIAG_MODE_START));
  const TDiagResp info = Information();
  EXPECT_FALSE(info.statusWord & DIAG_FLAG_RUNNING);
  EXPECT_EQ(info.stopReason, 2);
}

TEST_F(DiagStart, InformationNeedsAFurtherReport) {
  ASSERT_NO_FATAL_FAILURE(Open({{"QDXSIM_CYCLES", "100,61,87,42"}, {"QDXSIM_FLAGS", "0x0D"}}));
  ASSERT_TRUE(diag->SetDiagMode(DIAG_MODE_INFO));
  const int confirmed = static_cast<int>(standin_events(Record(), "report").size());
  TDiagResp info{};
  ASSERT_TRUE(diag->ReadResponse(&info));
  EXPECT_EQ(static_cast<int>(standin_events(Record(), "report").size()), confirmed + 1);
  EXPECT_EQ(info.reportId, 2);
  EXPECT_EQ(info.respCode, DIAG_RESP_INFO);
  EXPECT_EQ(info.statusWord & 0xFF, 0x0F) << "flags 0x0D and running";
  EXPECT_EQ(info.setCycle, 100);
  EXPECT_EQ(info.avgCycle, 61);
  EXPECT_EQ(info.maxCycle, 87);
  EXPECT_EQ(info.absMinCycle, 42);
}

struct TCloseCase {
  const char* name;
  TStandinEnv env;
  bool enterInfoFirst;
  bool result;
};

std::ostream& operator<<(std::ostream& out, const TCloseCase& c) { return out << c.name; }

class DiagClose : public TDiagTest, public ::testing::WithParamInterface<TCloseCase> {};

TEST_P(DiagClose, DrainsFor250msAndWantsTheLast21msQuiet) {
  ASSERT_NO_FATAL_FAILURE(Open(GetParam().env));
  if (GetParam().enterInfoFirst) {
    ASSERT_TRUE(diag->SetDiagMode(DIAG_MODE_INFO));
  }
  const uint64_t t0 = ms_tick();
  EXPECT_EQ(diag->SetDiagMode(DIAG_MODE_CLOSE), GetParam().result);
  EXPECT_GE(ms_since(t0), 250u);
  EXPECT_LT(ms_since(t0), 5000u);
}

INSTANTIATE_TEST_SUITE_P(Controllers, DiagClose,
                         ::testing::Values(TCloseCase{"falls_silent", {}, true, true},
                                           TCloseCase{"silent_throughout", {{"QDXSIM_FAULTS", "silent"}}, false, true},
                                           TCloseCase{"close_packet_not_written_to_a_silent_controller",
                                                      {{"QDXSIM_FAULTS", "silent,write_fail:1"}},
                                                      false,
                                                      true},
                                           TCloseCase{
                                               "reports_every_10ms", {{"QDXSIM_FAULTS", "chatty"}}, true, false}),
                         [](const ::testing::TestParamInfo<TCloseCase>& info) { return std::string(info.param.name); });

// The controller stays in diagnostic mode: its refusal decides, whatever
// quiet follows.
TEST_F(DiagClose, ARefusedCloseFails) {
  ASSERT_NO_FATAL_FAILURE(Open({{"QDXSIM_FAULTS", "refuse:close"}}));
  EXPECT_FALSE(diag->SetDiagMode(DIAG_MODE_CLOSE));
  EXPECT_EQ(traffic.reads, 1 + 1) << "the flush before the packet, its answer";
}

}  // namespace
