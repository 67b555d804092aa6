// The diagnostic actions of a run: the information dump with its stop
// reasons and firmware strings, reset, stop and start, and controllers that
// refuse, fall silent or never stop talking.
#include <gtest/gtest.h>

#include <tuple>

#include "tool_fixture.h"

namespace {

using tooltest::CLOSED;
using tooltest::Dump;
using tooltest::DumpWithoutDiagMode;
using tooltest::Listed;
using tooltest::OPENED;
using tooltest::Stopped;
using tooltest::TStatus;

struct TActionCase : tooltest::TNamedCase {
  TToolEnv env;
  std::vector<std::string> args;
  std::string output;  // after the listing and "Opening device... OK"
};

class ToolActions : public TToolTest, public ::testing::WithParamInterface<std::tuple<TActionCase, unsigned>> {};

// At information report periods from 2 ms to the default 50 ms.
TEST_P(ToolActions, PrintsEachStepAndClosesDiagnosticMode) {
  const TActionCase& c = std::get<0>(GetParam());
  TToolEnv env = c.env;
  env.emplace_back("QDXSIM_REPORT_MS", std::to_string(std::get<1>(GetParam())));
  const testkit::TChildRun run = Run(c.args, env);
  EXPECT_EQ(run.out, Listed("QDXSIM0001", true) + OPENED + c.output);
  // Every step that printed "Fail" shows in the exit status.
  EXPECT_EQ(run.status, c.output.find("Fail") == std::string::npos ? 0 : 1);
  // The run ends by leaving diagnostic mode (its packet is the last one
  // sent) and closing the device.
  const std::vector<std::string> writes = Events("write", 2);
  ASSERT_FALSE(writes.empty());
  EXPECT_EQ(writes.back().substr(0, 8), "02022800");
  EXPECT_EQ(Events("close", 0), std::vector<std::string>{"0"});
}

TToolEnv StoppedBy(int code) { return {{"QDXSIM_RUNNING", "0"}, {"QDXSIM_STOP_REASON", std::to_string(code)}}; }

TStatus WithStrings(const std::string& date, const std::string& signature) {
  TStatus status;
  status.buildDate = date;
  status.signature = signature;
  return status;
}

TStatus AfterReset() {
  // The reset clears the cycle timing error and sets the maximum to the average.
  TStatus status;
  status.maxCycle = status.avgCycle;
  return status;
}

TStatus TimingError() {
  TStatus status;
  status.timingError = true;
  return status;
}

TStatus AllFlags() {
  TStatus status;
  status.sendPending = true;
  status.timingError = true;
  return status;
}

const std::string stoppedByTool = Dump(Stopped("DIAG_STOP(13) /Stopped due to Diagnostic request/"));
const std::string noProgram = Dump(Stopped("CRC_NO_PROGEND(3) /Cannot find END_OF_PROGRAM instruction/"));

INSTANTIATE_TEST_SUITE_P(
    Runs, ToolActions,
    ::testing::Combine(
        ::testing::Values(
            TActionCase{{"dump_of_a_running_controller"}, {}, {}, Dump({}) + CLOSED},
            TActionCase{{"all_flags"}, {{"QDXSIM_FLAGS", "0x0d"}}, {}, Dump(AllFlags()) + CLOSED},
            TActionCase{{"cycle_times"},
                        {{"QDXSIM_CYCLES", "65535,2,300,1"}},
                        {},
                        [] {
                          TStatus s;
                          s.setCycle = 65535, s.avgCycle = 2, s.maxCycle = 300, s.absMinCycle = 1;
                          return Dump(s);
                        }() +
                            CLOSED},
            TActionCase{{"stop_reason_below_20"},
                        StoppedBy(5),
                        {},
                        Dump(Stopped("PWM_PARAM_OUT_RANGE(5) /Invalid PWM channel parameter/")) + CLOSED},
            TActionCase{{"stop_reason_19"},
                        StoppedBy(19),
                        {},
                        Dump(Stopped("DIAG_HARDRESET(19) /Stopped due to Diagnostic HARD RESET request/")) + CLOSED},
            TActionCase{
                {"stop_reason_20"}, StoppedBy(20), {}, Dump(Stopped("******(20) /No string description/")) + CLOSED},
            TActionCase{
                {"stop_reason_25"}, StoppedBy(25), {}, Dump(Stopped("******(25) /No string description/")) + CLOSED},
            TActionCase{{"stop_reason_65535"},
                        StoppedBy(65535),
                        {},
                        Dump(Stopped("******(65535) /No string description/")) + CLOSED},
            TActionCase{{"firmware_strings_missing"},
                        {{"QDXSIM_FW_DATE", "@missing"}, {"QDXSIM_FW_SIGNATURE", "@missing"}},
                        {},
                        Dump(WithStrings("<hidden>", "<hidden>")) + CLOSED},
            TActionCase{{"firmware_strings_unprogrammed"},
                        {{"QDXSIM_FW_DATE", "@ffff"}, {"QDXSIM_FW_SIGNATURE", ""}},
                        {},
                        Dump(WithStrings("<hidden>", "<hidden>")) + CLOSED},
            TActionCase{{"firmware_string_of_300_characters"},
                        {{"QDXSIM_FW_DATE", std::string(400, 'd')}},
                        {},
                        Dump(WithStrings(std::string(299, 'd'), "QDXSIM-SIGNATURE")) + CLOSED},
            TActionCase{{"reset_diagnostics"},
                        {{"QDXSIM_FLAGS", "0x09"}},
                        {"-R"},
                        "Resetting Tolvane Diagnostics... OK\n" + Dump(AfterReset()) + CLOSED},
            TActionCase{{"reset_not_written"},
                        {{"QDXSIM_FLAGS", "0x09"}, {"QDXSIM_FAULTS", "write_fail:1"}},
                        {"-R"},
                        "Resetting Tolvane Diagnostics... Fail\n" + Dump(TimingError()) + CLOSED},
            // The refusal is read with the reset: it does not stand in for the
            // acknowledgement of what follows.
            TActionCase{{"reset_refused"},
                        {{"QDXSIM_FLAGS", "0x09"}, {"QDXSIM_FAULTS", "refuse:reset"}},
                        {"-R", "-P"},
                        "Resetting Tolvane Diagnostics... Fail\n" + Dump(TimingError()) + "Stopping Tolvane... OK\n" +
                            [] {
                              TStatus s = Stopped("DIAG_STOP(13) /Stopped due to Diagnostic request/");
                              s.timingError = true;
                              return Dump(s);
                            }() +
                            CLOSED},
            TActionCase{{"stop"}, {}, {"-P"}, Dump({}) + "Stopping Tolvane... OK\n" + stoppedByTool + CLOSED},
            TActionCase{{"stop_refused"},
                        {{"QDXSIM_FAULTS", "refuse:stop"}},
                        {"--stop"},
                        Dump({}) + "Stopping Tolvane... Fail\n" + Dump({}) + CLOSED},
            TActionCase{
                {"start_without_a_program"}, {}, {"-S"}, Dump({}) + "Starting Tolvane... Fail\n" + noProgram + CLOSED},
            TActionCase{{"restart_without_a_program"},
                        {},
                        {"-r"},
                        Dump({}) + "Stopping Tolvane... OK\n" + stoppedByTool + "Starting Tolvane... Fail\n" +
                            noProgram + CLOSED},
            TActionCase{
                {"information_refused"}, {{"QDXSIM_FAULTS", "refuse:info"}}, {}, DumpWithoutDiagMode() + CLOSED},
            TActionCase{{"information_misconfirmed"},
                        {{"QDXSIM_FAULTS", "misconfirm:info"}},
                        {},
                        DumpWithoutDiagMode() + CLOSED},
            TActionCase{
                {"malformed_reports_only"}, {{"QDXSIM_FAULTS", "short_only"}}, {}, DumpWithoutDiagMode() + CLOSED},
            TActionCase{{"malformed_report_before_each"}, {{"QDXSIM_FAULTS", "short_report"}}, {}, Dump({}) + CLOSED},
            TActionCase{{"reports_of_another_id_between"}, {{"QDXSIM_FAULTS", "foreign"}}, {}, Dump({}) + CLOSED},
            TActionCase{{"silent_controller"},
                        {{"QDXSIM_FAULTS", "silent"}},
                        {"-R", "-r"},
                        "Resetting Tolvane Diagnostics... Fail\n" + DumpWithoutDiagMode() +
                            "Stopping Tolvane... Fail\n" + DumpWithoutDiagMode() + "Starting Tolvane... Fail\n" +
                            DumpWithoutDiagMode() + CLOSED},
            // The close goes on after its packet failed, and hears nothing.
            TActionCase{{"every_write_fails"},
                        {{"QDXSIM_FAULTS", "write_fail:all"}},
                        {"-P"},
                        DumpWithoutDiagMode() + "Stopping Tolvane... Fail\n" + DumpWithoutDiagMode() + CLOSED},
            TActionCase{
                {"close_refused"}, {{"QDXSIM_FAULTS", "refuse:close"}}, {}, Dump({}) + "Closing diag... Fail\n"},
            TActionCase{{"chatty_controller"}, {{"QDXSIM_FAULTS", "chatty"}}, {}, Dump({}) + "Closing diag... Fail\n"}),
        ::testing::Values(2u, 50u)),
    [](const ::testing::TestParamInfo<std::tuple<TActionCase, unsigned>>& info) {
      return std::string(std::get<0>(info.param).name) + "_information_every_" +
             std::to_string(std::get<1>(info.param)) + "ms";
    });

}  // namespace
