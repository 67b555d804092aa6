// simpanel.exe of the Windows build, end to end under wine: its console, a
// Windows client sending WM_COPYDATA from another process, its buttons and
// wine's file dialog, clicked and typed into with xdotool.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "file_io.h"
#include "panel_view.h"
#include "simcopydata.h"
#include "start_names.h"
#include "test_support.h"
#include "wine_panel_session.h"

namespace {

const char* const banner = "Halden Virtual Machine 1.0 release:5 build:6\n";

// One step of the client and the line it answers with.
struct TStep {
  std::vector<std::string> step;
  std::string answer;
  const char* why;
};

std::vector<std::string> send(uint64_t command, const std::string& name, int value = 0, int mode = 0) {
  return {"send", std::to_string(command), name, std::to_string(value), std::to_string(mode)};
}

std::string answerOf(int value) { return std::to_string(SIM_ANSWER_BASE + value); }

class TWinePanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!session.notRun().empty()) GTEST_SKIP() << session.notRun();
    ASSERT_TRUE(session.hasDisplay()) << "Xvfb did not start";
    ASSERT_TRUE(session.startPanel()) << session.problem() << session.output() << session.errors();
    window = session.findWindow(sim_panelTitle);
    ASSERT_FALSE(window.empty());
  }

  // Runs the steps with one client and checks each answer.
  void expectAnswers(const std::vector<TStep>& steps) {
    std::vector<std::string> argv;
    for (const TStep& s : steps) argv.insert(argv.end(), s.step.begin(), s.step.end());
    const std::vector<std::string> answers = session.client(argv);
    ASSERT_EQ(answers.size(), steps.size());
    for (size_t i = 0; i < steps.size(); ++i) EXPECT_EQ(answers[i], steps[i].answer) << steps[i].why;
  }

  std::string request(uint64_t command, const std::string& name, int value = 0, int mode = 0) {
    const std::vector<std::string> answer = session.client(send(command, name, value, mode));
    return answer.empty() ? "no answer" : answer[0];
  }

  // Closing the window ends the panel with exit code 0.
  void closeAndExpectCleanExit() {
    EXPECT_TRUE(session.closePanel());
    EXPECT_EQ(session.waitForExit(20000), 0) << session.errors();
  }

  // The visible X windows without a name: the root, and wine's message boxes.
  std::set<std::string> untitledWindows() const {
    std::istringstream ids(session.runTool({"xdotool", "search", "--onlyvisible", "--name", "^$"}));
    std::set<std::string> found;
    for (std::string id; std::getline(ids, id);) found.insert(id);
    return found;
  }

  std::string openDialog() {
    session.click(window, sim_openTableX, sim_openTableY);
    return session.findWindow("Open");
  }

  TWinePanelSession session;
  std::string window;
};

}  // namespace

TEST_F(TWinePanelTest, StartsWithBannerAndListsAndAnswersAClientOfAnotherProcess) {
  EXPECT_EQ(session.output(), banner + sim_startListing());
  EXPECT_EQ(session.rawOutput().rfind("Halden Virtual Machine 1.0 release:5 build:6\r\n", 0), 0u)
      << "a Windows console's line ends";
  EXPECT_TRUE(session.screenshot(window, "simpanel-wine.png"));

  const std::string none = "0", done = "1";
  const std::string bitClear = answerOf(1), bitSet = answerOf(2);
  expectAnswers({
      {send(SIM_CMD_SETINT, "_C_Time", -1), done, "set"},
      {send(SIM_CMD_GETINT, "_C_Time"), answerOf(-1), "-1 reads 65535"},
      {send(SIM_CMD_GETINT, "no_such"), none, "a name the machine does not hold"},
      {send(SIM_CMD_SETBIT, "R_C_Rain", 256), done, "byte 300 is 0: cleared"},
      {send(SIM_CMD_GETBIT, "R_C_Rain"), bitClear, "cleared"},
      {send(SIM_CMD_SETBIT, "R_C_Rain", 1), done, "set"},
      {send(SIM_CMD_GETBIT, "R_C_Rain"), bitSet, "set"},
      {send(SIM_CMD_SETMODE, "", 0, SIM_MODE_CYCLE_START), none, "cycle start"},
      {send(SIM_CMD_GETINT, "_C_Time"), answerOf(0), "the cycle start applied row 1"},
      {send(SIM_CMD_GETBIT, "R_C_Rain"), bitClear, "the cycle start applied row 1"},
      {send(SIM_CMD_SETMODE, "", 1, SIM_MODE_CYCLE_END), none, "cycle end"},
      {send(5, "_C_Time", 1), none, "command 5"},
      {send(6, "_C_Time", 1), none, "command 6"},
      {send(SIM_CMD_READADC, "_C_Time", 1), none, "no analog inputs"},
      {send(SIM_CMD_SETPWM, "_C_Time", 1), none, "no PWM outputs"},
      {send(9, "_C_Time", 1), none, "command 9"},
      // Windows hands the panel a copy of cbData bytes, the whole record.
      {{"sized", std::to_string(SIM_CMD_SETBIT), "R_C_Rain", "1", "307"}, none, "one byte short of a record"},
      {{"sized", std::to_string(SIM_CMD_SETINT), "_P_Temp_E", "7", "5000"}, done, "a record of 5000 bytes"},
      {{"sized", std::to_string(SIM_CMD_GETINT), "_P_Temp_E", "0", "100000"}, answerOf(7), "of 100000 bytes"},
      {{"unended", std::to_string(SIM_CMD_SETBIT), "1"}, none, "a name without its zero byte"},
      {{"empty", std::to_string(SIM_CMD_GETINT)}, none, "no record at all"},
      {send(SIM_CMD_GETBIT, "R_C_Rain"), bitClear, "the refused requests set nothing"},
  });
  // A command above 32 bits exists only where ULONG_PTR is wider than that,
  // in the 64-bit tree: it must not be taken for the command in its low bits.
  const uint64_t above32Bits = uint64_t(UINT32_MAX) + 1;
  const bool wide = std::string(getenv("WINEARCH") ? getenv("WINEARCH") : "") == "win64";
  EXPECT_EQ(request(above32Bits | SIM_CMD_SETBIT, "R_C_Rain", 1), wide ? none : "too wide");
  EXPECT_EQ(request(SIM_CMD_GETBIT, "R_C_Rain"), bitClear) << "not set as command " << SIM_CMD_SETBIT;
  EXPECT_GE(std::stoi(request(SIM_CMD_GETINT, "cal_Year")) - SIM_ANSWER_BASE, 2025);
  EXPECT_TRUE(session.waitForOutput("sim_getInt 'cal_Year'\n"));
  EXPECT_NE(session.output().find("sim_setBit 'R_C_Rain'\nsim_getBit 'R_C_Rain'\n"), std::string::npos);
  closeAndExpectCleanExit();
}

TEST_F(TWinePanelTest, DumpButtonPrintsTheTables) {
  const std::string dump = sim_clickDump(session, window, 1);
  EXPECT_NE(dump.find(" Selected Cycle Table row=0\n Selected Period Table row=0\n"), std::string::npos) << dump;
  EXPECT_EQ(countOf(dump, "_01=0\n"), 32u) << dump;
  EXPECT_EQ(countOf(dump, "\t"), 32u);
  closeAndExpectCleanExit();
}

TEST_F(TWinePanelTest, OpenTableLoadsTheFilePickedInTheDialogWhileRequestsAreServed) {
  session.dir().Write("tables.ini", testkit::ReadFile(SIM_FIXTURES_DIR "/tables.ini"));
  const std::string dialog = openDialog();
  ASSERT_FALSE(dialog.empty());
  EXPECT_EQ(request(SIM_CMD_SETINT, "_Period_Number", 3), "1") << "served while the dialog is open";

  session.typeInto(dialog, "tables.ini");
  EXPECT_TRUE(session.screenshot(dialog, "simpanel-wine-dialog.png"));
  session.pressKey(dialog, "Return");
  ASSERT_TRUE(session.windowGone("Open"));
  const std::string dump = sim_clickDump(session, window, 1);
  EXPECT_NE(dump.find("\tR_C_Rain_03=1\n"), std::string::npos) << dump;
  EXPECT_NE(dump.find("\tR_C_Freez_03=-1\n"), std::string::npos);
  EXPECT_NE(dump.find("\t_C_Time_10=4464\n"), std::string::npos);
  EXPECT_EQ(countOf(dump, "\t"), 320u);

  expectAnswers({
      {send(SIM_CMD_GETINT, "_C_Time"), answerOf(0), "loading alone changes no value"},
      {send(SIM_CMD_SETMODE, "", 0, SIM_MODE_CYCLE_START), "0", "cycle start"},
      {send(SIM_CMD_GETINT, "_C_Time"), answerOf(45), "row 3"},
      {send(SIM_CMD_GETBIT, "R_C_Rain"), answerOf(2), "row 3"},
      {send(SIM_CMD_GETBIT, "R_C_Freez"), answerOf(1), "-1 applies as false"},
      {send(SIM_CMD_GETBIT, "R_P_Thursday_E"), answerOf(2), "2 applies as true"},
  });
  closeAndExpectCleanExit();
}

TEST_F(TWinePanelTest, EscapeInTheDialogKeepsTheTables) {
  session.dir().Write("tables.ini", testkit::ReadFile(SIM_FIXTURES_DIR "/tables.ini"));
  std::string dialog = openDialog();
  ASSERT_FALSE(dialog.empty());
  session.typeInto(dialog, "tables.ini");
  session.pressKey(dialog, "Return");
  ASSERT_TRUE(session.windowGone("Open"));
  const std::string loaded = sim_clickDump(session, window, 1);
  ASSERT_NE(loaded.find("\t_C_Time_03=45\n"), std::string::npos) << loaded;

  dialog = openDialog();
  ASSERT_FALSE(dialog.empty());
  EXPECT_EQ(request(SIM_CMD_GETINT, "_C_Time"), answerOf(0)) << "served while the dialog is open";
  session.pressKey(dialog, "Escape");
  ASSERT_TRUE(session.windowGone("Open"));
  EXPECT_EQ(sim_clickDump(session, window, 2), loaded);
  expectAnswers({
      {send(SIM_CMD_SETINT, "_Period_Number", 3), "1", "row 3"},
      {send(SIM_CMD_SETMODE, "", 0, SIM_MODE_CYCLE_START), "0", "cycle start"},
      {send(SIM_CMD_GETINT, "_C_Time"), answerOf(45), "the loaded tables still apply"},
  });
  closeAndExpectCleanExit();
}

TEST_F(TWinePanelTest, DialogTakesNoFileThatIsNotThere) {
  const std::string before = sim_clickDump(session, window, 1);
  const std::string dialog = openDialog();
  ASSERT_FALSE(dialog.empty());
  const std::set<std::string> untitled = untitledWindows();
  session.typeInto(dialog, "missing.ini");
  session.pressKey(dialog, "Return");
  ASSERT_TRUE(sim_waitUntil([&] { return untitledWindows().size() > untitled.size(); }, 20000))
      << "the dialog says the file does not exist";
  EXPECT_EQ(request(SIM_CMD_GETINT, "_C_Time"), answerOf(0)) << "served while the message is shown";
  session.pressKey(dialog, "Return");
  ASSERT_TRUE(sim_waitUntil([&] { return untitledWindows() == untitled; }, 20000));
  ASSERT_FALSE(session.findWindow("Open").empty()) << "the dialog stays";
  session.pressKey(dialog, "Escape");
  ASSERT_TRUE(session.windowGone("Open"));
  EXPECT_EQ(sim_clickDump(session, window, 2), before);
  closeAndExpectCleanExit();
}
