#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <windows.h>
#include <chrono>
#include <cstring>
#include <functional>
#include <future>
#include <vector>

#include "file_io.h"
#include "panel_session.h"
#include "panel_view.h"
#include "raw_copydata_client.h"
#include "simcopydata.h"
#include "start_names.h"

namespace {

// A request as a Windows client sends it.
LRESULT requestBytes(ULONG_PTR command, void* data, DWORD size) {
  HWND panel = FindWindowA(SIM_WINDOW_CLASS, nullptr);
  if (!panel) return -1;
  COPYDATASTRUCT request{command, size, data};
  return SendMessageA(panel, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&request));
}

LRESULT request(ULONG_PTR command, const char* name, int16_t value = 0, int32_t mode = 0) {
  tSIM_COPYDATA record;
  std::memset(&record, 0, sizeof(record));
  std::strncpy(record.name, name, sizeof(record.name) - 1);
  record.value = value;
  record.mode = mode;
  return requestBytes(command, &record, sizeof(record));
}

class TSimpanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(session.hasDisplay()) << "Xvfb did not start";
    ASSERT_TRUE(session.startPanel()) << session.output() << session.errors();
    window = session.findWindow(sim_panelTitle);
    ASSERT_FALSE(window.empty());
  }

  // Closing the window as a user does ends the panel with exit code 0.
  void closeAndExpectCleanExit() {
    session.closeWindow(window);
    EXPECT_EQ(session.waitForExit(20000), 0) << session.errors();
    EXPECT_EQ(modeOf(session.socketPath()), 0u) << "the socket goes with the window";
  }

  std::string dumpNumber(size_t n) { return sim_clickDump(session, window, n); }

  TPanelSession session;
  std::string window;
};

}  // namespace

TEST_F(TSimpanelTest, StartsWithBannerAndListsServesAClientAndClosesCleanly) {
  EXPECT_EQ(session.output(), "Halden Virtual Machine 1.0 release:5 build:6\n" + sim_startListing());
  EXPECT_EQ(modeOf(session.socketPath()) & 07777, 0600u);
  EXPECT_TRUE(S_ISSOCK(modeOf(session.socketPath())));
  EXPECT_TRUE(session.screenshot(window, "simpanel.png"));

  EXPECT_EQ(request(SIM_CMD_SETINT, "_C_Time", -1), 1);
  EXPECT_EQ(request(SIM_CMD_GETINT, "_C_Time"), 0xFFFF);
  EXPECT_EQ(request(SIM_CMD_GETINT, "no_such"), 0);
  EXPECT_EQ(request(SIM_CMD_SETBIT, "R_C_Rain", 256), 1) << "byte 300 is 0: cleared";
  EXPECT_EQ(request(SIM_CMD_GETBIT, "R_C_Rain"), 0x10001);
  EXPECT_EQ(request(SIM_CMD_SETBIT, "R_C_Rain", 1), 1);
  EXPECT_EQ(request(SIM_CMD_GETBIT, "R_C_Rain"), 0x10002);
  EXPECT_EQ(request(SIM_CMD_SETMODE, "", 0, SIM_MODE_CYCLE_START), 0);
  EXPECT_EQ(request(SIM_CMD_GETINT, "_C_Time"), 0x10000) << "the cycle start applied row 1";
  EXPECT_EQ(request(SIM_CMD_GETBIT, "R_C_Rain"), 0x10001);
  EXPECT_EQ(request(SIM_CMD_SETMODE, "", 1, SIM_MODE_CYCLE_END), 0);
  for (ULONG_PTR command : {5, 6, 7, 8, 9}) EXPECT_EQ(request(command, "_C_Time", 1), 0) << command;
  EXPECT_GE(request(SIM_CMD_GETINT, "cal_Year") - SIM_ANSWER_BASE, 2025);
  EXPECT_TRUE(session.waitForOutput("sim_getInt 'cal_Year'\n"));
  EXPECT_NE(session.output().find("sim_setBit 'R_C_Rain'\nsim_getBit 'R_C_Rain'\n"), std::string::npos);

  closeAndExpectCleanExit();
  EXPECT_EQ(session.errors(), "");
}

TEST_F(TSimpanelTest, DumpButtonPrintsTheTablesAndEscapeDoesNotClose) {
  const std::string dump = dumpNumber(1);
  EXPECT_NE(dump.find(" Selected Cycle Table row=0\n Selected Period Table row=0\n"), std::string::npos);
  EXPECT_EQ(countOf(dump, "_01=0\n"), 32u) << dump;
  EXPECT_EQ(countOf(dump, "\t"), 32u);

  session.pressKey(window, "Escape");
  EXPECT_EQ(request(SIM_CMD_GETINT, "_Period_Number"), 0x10000) << "still there after Escape";
  EXPECT_FALSE(session.findWindow(sim_panelTitle, 1000).empty());
  closeAndExpectCleanExit();
}

TEST_F(TSimpanelTest, OpenTableLoadsThePickedFileWhileRequestsAreServed) {
  session.dir().Write("tables.ini", testkit::ReadFile(SIM_FIXTURES_DIR "/tables.ini"));
  session.click(window, sim_openTableX, sim_openTableY);
  const std::string chooser = session.findWindow("Open");
  ASSERT_FALSE(chooser.empty());
  EXPECT_TRUE(session.screenshot(chooser, "simpanel-chooser.png"));
  EXPECT_EQ(request(SIM_CMD_SETINT, "_Period_Number", 3), 1) << "served while the chooser is open";

  session.typeInto(chooser, "tables.ini");
  session.pressKey(chooser, "Return");
  ASSERT_TRUE(session.windowGone("Open"));
  const std::string dump = dumpNumber(1);
  EXPECT_NE(dump.find("\tR_C_Rain_03=1\n"), std::string::npos) << dump;
  EXPECT_NE(dump.find("\tR_C_Freez_03=-1\n"), std::string::npos);
  EXPECT_NE(dump.find("\t_C_Time_10=4464\n"), std::string::npos);
  EXPECT_EQ(countOf(dump, "\t"), 320u);

  EXPECT_EQ(request(SIM_CMD_GETINT, "_C_Time"), 0x10000) << "loading alone changes no value";
  EXPECT_EQ(request(SIM_CMD_SETMODE, "", 0, SIM_MODE_CYCLE_START), 0);
  EXPECT_EQ(request(SIM_CMD_GETINT, "_C_Time"), 0x10000 + 45);
  EXPECT_EQ(request(SIM_CMD_GETBIT, "R_C_Rain"), 0x10002);
  EXPECT_EQ(request(SIM_CMD_GETBIT, "R_C_Freez"), 0x10001);
  EXPECT_EQ(request(SIM_CMD_GETBIT, "R_P_Thursday_E"), 0x10002);
  closeAndExpectCleanExit();
}

TEST_F(TSimpanelTest, CancelledChooserKeepsTheTables) {
  session.dir().Write("tables.ini", testkit::ReadFile(SIM_FIXTURES_DIR "/tables.ini"));
  session.click(window, sim_openTableX, sim_openTableY);
  std::string chooser = session.findWindow("Open");
  ASSERT_FALSE(chooser.empty());
  session.typeInto(chooser, "tables.ini");
  session.pressKey(chooser, "Return");
  ASSERT_TRUE(session.windowGone("Open"));
  const std::string loaded = dumpNumber(1);
  ASSERT_NE(loaded.find("\t_C_Time_03=45\n"), std::string::npos) << loaded;

  session.click(window, sim_openTableX, sim_openTableY);
  chooser = session.findWindow("Open");
  ASSERT_FALSE(chooser.empty());
  EXPECT_EQ(request(SIM_CMD_GETINT, "_C_Time"), 0x10000) << "served while the chooser is open";
  session.pressKey(chooser, "Escape");
  ASSERT_TRUE(session.windowGone("Open"));
  EXPECT_EQ(dumpNumber(2), loaded);
  EXPECT_EQ(request(SIM_CMD_SETINT, "_Period_Number", 3), 1);
  EXPECT_EQ(request(SIM_CMD_SETMODE, "", 0, SIM_MODE_CYCLE_START), 0);
  EXPECT_EQ(request(SIM_CMD_GETINT, "_C_Time"), 0x10000 + 45) << "the loaded tables still apply";
  closeAndExpectCleanExit();
}

TEST_F(TSimpanelTest, FileThatDoesNotExistIsNotTaken) {
  const std::string before = dumpNumber(1);
  session.click(window, sim_openTableX, sim_openTableY);
  std::string chooser = session.findWindow("Open");
  ASSERT_FALSE(chooser.empty());
  session.typeInto(chooser, "missing.ini");
  session.pressKey(chooser, "Return");
  const std::string alert = session.findWindow("");  // FLTK's alert has no title
  ASSERT_FALSE(alert.empty());
  EXPECT_EQ(request(SIM_CMD_GETINT, "_C_Time"), 0x10000) << "served while the alert is open";
  session.pressKey(alert, "Return");
  chooser = session.findWindow("Open");
  ASSERT_FALSE(chooser.empty()) << "the chooser comes back";
  session.pressKey(chooser, "Escape");
  ASSERT_TRUE(session.windowGone("Open"));
  EXPECT_EQ(dumpNumber(2), before);
  closeAndExpectCleanExit();
}

TEST_F(TSimpanelTest, RequestsOutsideTheFormatAreRefusedAndThePanelGoesOn) {
  tSIM_COPYDATA record;
  std::memset(&record, 'A', sizeof(record));  // a name without its zero byte
  record.value = 1;
  EXPECT_EQ(requestBytes(SIM_CMD_SETBIT, &record, sizeof(record)), 0);
  std::memcpy(record.name, "R_C_Rain", 9);
  EXPECT_EQ(requestBytes(SIM_CMD_SETBIT, &record, sizeof(record) - 1), 0) << "one byte short";
  EXPECT_EQ(requestBytes(SIM_CMD_SETBIT, &record, sizeof(record)), 1);

  {
    TRawClient hangsUp(session.socketPath());
    hangsUp.send(TRawClient::request(SIM_CMD_GETINT, sizeof(tSIM_COPYDATA)));
  }
  // A command above 32 bits exists only where ULONG_PTR is wider than that.
  if (sizeof(ULONG_PTR) > sizeof(uint32_t)) {
    HWND panel = FindWindowA(SIM_WINDOW_CLASS, nullptr);
    const ULONG_PTR above32Bits = ULONG_PTR(UINT32_MAX) + 1;
    COPYDATASTRUCT wide{above32Bits | SIM_CMD_SETBIT, sizeof(record), &record};
    EXPECT_EQ(SendMessageA(panel, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&wide)), 0) << "not sent as command 1";
  }
  EXPECT_EQ(request(SIM_CMD_GETBIT, "R_C_Rain"), 0x10002) << "the panel goes on";
  closeAndExpectCleanExit();
}

// Windows hands the window the whole record, and the panel reads its first
// 308 bytes; a record above the layer's bound for memory is refused with 0.
TEST_F(TSimpanelTest, RecordsOfAnySizeAreAnsweredFromTheirFirstBytes) {
  struct TCase {
    uint32_t size;
    ULONG_PTR command;
    int16_t value;
    LRESULT answer;
  };
  const TCase cases[] = {
      {5000, SIM_CMD_SETINT, 9, 1},
      {100000, SIM_CMD_GETINT, 0, 0x10009},
      {W32_COPYDATA_MAX_DATA, SIM_CMD_GETINT, 0, 0x10009},
      {W32_COPYDATA_MAX_DATA + 1, SIM_CMD_SETINT, 11, 0},
  };
  for (const TCase& c : cases) {
    std::vector<unsigned char> block(c.size, 0x5A);
    tSIM_COPYDATA record;
    std::memset(&record, 0, sizeof(record));
    std::strcpy(record.name, "_C_Time");
    record.value = c.value;
    std::memcpy(block.data(), &record, sizeof(record));
    EXPECT_EQ(requestBytes(c.command, block.data(), c.size), c.answer) << c.size << " bytes";
  }
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));

  // A client of its own that sends one all the same gets 0 on a connection that goes on.
  TRawClient raw(session.socketPath());
  std::vector<unsigned char> bytes = TRawClient::request(SIM_CMD_SETINT, W32_COPYDATA_MAX_DATA + 1);
  const std::vector<unsigned char> next = TRawClient::request(SIM_CMD_GETINT, sizeof(tSIM_COPYDATA));
  bytes.insert(bytes.end(), next.begin(), next.end());
  raw.send(bytes);
  EXPECT_EQ(raw.answer(), 0);
  EXPECT_EQ(raw.answer(), 0) << "a name without its zero byte";
  EXPECT_EQ(request(SIM_CMD_GETINT, "_C_Time"), 0x10009) << "the refused records set nothing";
  closeAndExpectCleanExit();
}

TEST_F(TSimpanelTest, SecondPanelIsTurnedAwayWhileTheFirstServes) {
  const pid_t second = session.startSecondPanel("second");
  EXPECT_EQ(session.waitForExit(second, 20000), 0);
  EXPECT_NE(session.dir().Read("second.err").find("Error!: Window Creation Failed!"), std::string::npos);
  EXPECT_TRUE(S_ISSOCK(modeOf(session.socketPath())));
  EXPECT_EQ(request(SIM_CMD_GETINT, "_C_Time"), 0x10000);
  closeAndExpectCleanExit();
}

TEST(TSimpanelStart, StaleSocketDoesNotKeepThePanelFromStarting) {
  TPanelSession session;
  ASSERT_TRUE(session.hasDisplay());
  ASSERT_TRUE(session.startPanel());
  session.killPanel();
  ASSERT_TRUE(S_ISSOCK(modeOf(session.socketPath()))) << "what a panel that was killed leaves behind";

  ASSERT_TRUE(session.startPanel()) << session.errors();
  EXPECT_EQ(request(SIM_CMD_GETINT, "_Period_Number"), 0x10000);
}

TEST(TSimpanelStart, WithoutADisplayItReportsAndEndsWithZero) {
  TPanelSession session(false);
  EXPECT_FALSE(session.startPanel());
  EXPECT_EQ(session.waitForExit(20000), 0);
  EXPECT_EQ(session.output(), "Halden Virtual Machine 1.0 release:5 build:6\n");
  EXPECT_NE(session.errors().find("Error!: Window Creation Failed!\n"), std::string::npos) << session.errors();
  EXPECT_EQ(modeOf(session.socketPath()), 0u) << "no socket is left behind";
}

TEST(TSimpanelDisplay, PanelThatLosesItsDisplayEndsWithAMessageAndNoSocket) {
  struct TCase {
    const char* how;
    std::function<void(TPanelSession&, const std::string& window)> end;
  };
  const TCase cases[] = {
      {"its connection killed (xkill)",
       [](TPanelSession& session, const std::string& window) {
         session.runTool({"xkill", "-id", window});
       }},
      {"its X server ended", [](TPanelSession& session, const std::string&) { session.endDisplay(); }},
  };
  for (const TCase& c : cases) {
    TPanelSession session;
    ASSERT_TRUE(session.hasDisplay()) << "Xvfb did not start";
    ASSERT_TRUE(session.startPanel()) << session.errors();
    const std::string window = session.findWindow(sim_panelTitle);
    ASSERT_FALSE(window.empty()) << c.how;
    c.end(session, window);
    const std::optional<int> code = session.waitForExit(20000);
    ASSERT_TRUE(code) << c.how << ": the panel goes on";
    EXPECT_NE(*code, 0) << c.how << ": a failure";
    EXPECT_LT(*code, 128) << c.how << ": ended by a signal";
    EXPECT_NE(session.errors().find("simpanel: lost the connection to the display"), std::string::npos)
        << c.how << ": " << session.errors();
    EXPECT_EQ(modeOf(session.socketPath()), 0u) << c.how << ": the socket goes with the panel";
  }
}

// As `simpanel | head -3`: the reader of the console goes away.
TEST(TSimpanelConsole, ClosedConsoleDoesNotEndThePanel) {
  TPanelSession session;
  ASSERT_TRUE(session.hasDisplay()) << "Xvfb did not start";
  int console[2];
  ASSERT_EQ(pipe(console), 0);
  const bool started = session.startPanel(console[1]);
  close(console[1]);
  ASSERT_TRUE(started) << session.errors();
  char banner[64] = "";
  pollfd entry{console[0], POLLIN, 0};
  ASSERT_GT(poll(&entry, 1, 20000), 0);
  ASSERT_GT(read(console[0], banner, sizeof(banner) - 1), 0);
  EXPECT_EQ(std::string(banner).rfind("Halden Virtual Machine", 0), 0u) << banner;
  close(console[0]);

  // Each request prints a line on the console, which nobody reads now.
  EXPECT_EQ(request(SIM_CMD_SETINT, "_C_Time", 7), 1);
  EXPECT_EQ(request(SIM_CMD_GETINT, "_C_Time"), 0x10007);
  EXPECT_EQ(request(SIM_CMD_SETMODE, "", 0, SIM_MODE_CYCLE_START), 0);
  EXPECT_EQ(request(SIM_CMD_GETINT, "_C_Time"), 0x10000) << "still serving";
  session.closeWindow(session.findWindow(sim_panelTitle));
  EXPECT_EQ(session.waitForExit(20000), 0) << session.errors();
  EXPECT_EQ(modeOf(session.socketPath()), 0u);
}

// An answer of 0 means that nothing was done: a client waits for a panel
// that is held up for as long as the panel lives, as on Windows.
TEST(TSimpanelHeldUp, ClientWaitsForAStoppedPanelAndGetsZeroOnlyWhenItEnds) {
  using namespace std::chrono_literals;
  TPanelSession session;
  ASSERT_TRUE(session.hasDisplay()) << "Xvfb did not start";
  ASSERT_TRUE(session.startPanel()) << session.errors();
  session.signalProgram(SIGSTOP);
  auto answer = std::async(std::launch::async, [] { return request(SIM_CMD_SETINT, "_C_Time", 5); });
  EXPECT_EQ(answer.wait_for(32s), std::future_status::timeout) << "no answer from a stopped panel, not even 0";
  session.signalProgram(SIGCONT);
  ASSERT_EQ(answer.wait_for(20s), std::future_status::ready);
  EXPECT_EQ(answer.get(), 1);
  EXPECT_EQ(request(SIM_CMD_GETINT, "_C_Time"), 0x10005);

  session.signalProgram(SIGSTOP);
  auto lost = std::async(std::launch::async, [] { return request(SIM_CMD_SETINT, "_C_Time", 6); });
  EXPECT_EQ(lost.wait_for(500ms), std::future_status::timeout);
  session.killPanel();
  ASSERT_EQ(lost.wait_for(20s), std::future_status::ready) << "the wait ends with the panel";
  EXPECT_EQ(lost.get(), 0);
}
