// qdx_tool.exe and qdx_tool_trace.exe under wine: the programming road
// through rd_s19.dll and wr_qdx.dll over the Windows backend, the ways it
// fails, the command line and the test mode.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "corrupted_image.h"
#include "file_io.h"
#include "tool_texts.h"
#include "tool_windows_fixture.h"
#include "windows_path.h"

namespace {

using tooltest::CLOSED;
using tooltest::Dump;
using tooltest::Listed;
using tooltest::OPENED;
using tooltest::Stopped;
using tooltest::TStatus;

const tooltest::TPlugins PLUGINS = {"rd_s19.dll", "wr_qdx.dll"};

const std::string RUNNING = Dump({});
const std::string STOP =
    "Stopping Tolvane... OK\n" + Dump(Stopped("DIAG_STOP(13) /Stopped due to Diagnostic request/"));
const std::string START = "Starting Tolvane... OK\n" + RUNNING;

class WindowsToolRoad : public TWindowsToolTest {
 protected:
  // The path of controller 0 as the tool's run named it (its pipe carries
  // the tool's process id).
  std::string DevicePath() const {
    const std::vector<std::string> paths = standin_fields(Record(), "open", 2);
    return paths.empty() ? "" : paths.front();
  }
  // The opens and closes of the run, in order.
  std::vector<std::string> Holding() const {
    std::vector<std::string> events;
    for (const TRecordLine& line : Record()) {
      if (line.event == "open") events.push_back("open " + line.fields.at(1));
      if (line.event == "close") events.push_back("close");
    }
    return events;
  }
};

class WindowsToolRoadAtPeriod : public WindowsToolRoad, public ::testing::WithParamInterface<unsigned> {};

// The controller sends information reports from the tool's first entry into
// diagnostic mode until a close, at any moment.
TEST_P(WindowsToolRoadAtPeriod, RestartProgramsTheCompiledImage) {
  const std::string file = File("image.s19");
  const testkit::TChildRun run = Run({"-r", file}, {{"QDXSIM_REPORT_MS", std::to_string(GetParam())}});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, Listed("QDXSIM0001", true) + OPENED + RUNNING + STOP +
                         tooltest::Programming(PLUGINS, file, DevicePath(), image.size()) + START + CLOSED);
  ExpectFlashHoldsTheImage();
  // The tool lets go of the device before the writer opens it and takes it
  // back afterwards: with exclusive opens, anything else fails an open.
  EXPECT_EQ(Holding(), (std::vector<std::string>{"open ok", "close", "open ok", "close", "open ok", "close"}));
  EXPECT_EQ(standin_fields(Record(), "start", 1), (std::vector<std::string>{"ok", "ok"}));
  RecordProperty("road_ms", static_cast<int>(lastRunMs));
}

INSTANTIATE_TEST_SUITE_P(ReportPeriods, WindowsToolRoadAtPeriod, ::testing::Values(2u, 5u, 20u, 50u),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                           return "information_every_" + std::to_string(info.param) + "ms";
                         });

// The tracing build prints the reports of the tool itself; the writer, a
// plug-in of its own, stays quiet.
TEST_F(WindowsToolRoad, TheTracingBuildProgramsToo) {
  const std::string file = File("image.s19");
  const testkit::TChildRun run = Run({"-r", file}, {}, "", "qdx_tool_trace.exe");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("QDX programming successful!\n"), std::string::npos) << run.out;
  ExpectFlashHoldsTheImage();
  // The tool's stop, after the flush's reads of what came before it.
  const size_t stopping = run.out.find("Stopping Tolvane... ");
  ASSERT_NE(stopping, std::string::npos) << run.out;
  EXPECT_EQ(run.out.substr(run.out.find("\nWR64>", stopping), 18), "\nWR64>02 02 30 00 ") << run.out.substr(stopping);
  EXPECT_NE(run.out.find("hid_read 64 bytes:\nRD64>02 17 "), std::string::npos) << "an information report";
  EXPECT_EQ(run.out.find("WR64>02 02 2c 00 "), std::string::npos) << "the writer's erase is not traced";
  EXPECT_EQ(run.out.find("WARNING"), std::string::npos);
}

TEST_F(WindowsToolRoad, ACorruptedImageIsRefusedWithItsStopReason) {
  folder.Write("corrupted.s19", tooltest_corrupted(testkit::ReadFile(File("image.s19")), 0xD4));
  const std::string file = File("corrupted.s19");
  const testkit::TChildRun run = Run({"-r", file});
  EXPECT_EQ(run.status, 1);
  std::string refused = tooltest::Programming(PLUGINS, file, DevicePath(), image.size());
  refused.replace(refused.find("OK\nClosing diag... OK\nQDX programming successful!"), std::string::npos,
                  "Fail\nClosing diag... OK\nQDX programming fail!\n");
  TStatus crcStop = Stopped("CRC_ERROR(2) /PLC stopped due to ladder code CRC error./");
  crcStop.shipped = false;
  EXPECT_EQ(run.out, Listed("QDXSIM0001", true) + OPENED + RUNNING + STOP + refused + "Starting Tolvane... Fail\n" +
                         Dump(crcStop) + CLOSED);
  EXPECT_EQ(standin_fields(Record(), "start", 1), (std::vector<std::string>{"refused", "refused"}));
}

struct TFaultCase {
  const char* name;
  const char* faults;
  std::string writer;  // the writer's lines after "Connected to Tolvane.\n"
  std::string after;   // the tool's lines after "QDX programming fail!\n"
};

std::ostream& operator<<(std::ostream& out, const TFaultCase& c) { return out << c.name; }

class WindowsToolFaults : public WindowsToolRoad, public ::testing::WithParamInterface<TFaultCase> {};

// Each fault ends the writer's run with its message, closes diagnostic mode
// where the controller is still there, and lets the tool go on; all within
// the waits' bounds.
TEST_P(WindowsToolFaults, EndWithTheirMessages) {
  const testkit::TChildRun run = Run({File("image.s19")}, {{"QDXSIM_FAULTS", GetParam().faults}});
  EXPECT_EQ(run.status, 1);
  const std::string tail = "Connected to Tolvane.\n" + GetParam().writer + "QDX programming fail!\n" + GetParam().after;
  ASSERT_GE(run.out.size(), tail.size()) << run.out;
  EXPECT_EQ(run.out.substr(run.out.size() - tail.size()), tail) << run.out << testkit::ReadFile(File("record.txt"));
  const std::vector<std::string> modes = standin_fields(Record(), "mode", 1);
  if (std::string(GetParam().name) != "vanished" && std::string(GetParam().name) != "silent") {
    ASSERT_FALSE(modes.empty());
    EXPECT_EQ(modes.back(), "40") << "diagnostic mode closed last";
  }
  EXPECT_LT(lastRunMs, 15000u);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, WindowsToolFaults,
    ::testing::Values(
        TFaultCase{"silent", "silent", "Stopping QDX ... Fail\nClosing diag... OK\n", CLOSED},
        TFaultCase{"stop_refused", "refuse:stop", "Stopping QDX ... Fail\nClosing diag... OK\n", CLOSED},
        TFaultCase{"erase_refused", "refuse:erase", "Stopping QDX ... OK\nErasing code ... Fail\nClosing diag... OK\n",
                   CLOSED},
        TFaultCase{"endless_busy", "busy_forever",
                   "Stopping QDX ... OK\nErasing code ... OK\nLoading program ... Fail\nClosing diag... Fail\n",
                   "Closing diag... Fail\n"},
        // The first load block's second packet is the fifth write of the run
        // (the tool's entry into diagnostic mode, the writer's stop and erase
        // come first): the controller is unplugged with it.
        TFaultCase{"vanished", "vanish:5",
                   "Stopping QDX ... OK\nErasing code ... OK\nLoading program ... Fail\nClosing diag... OK\n",
                   "Cannot reopen the device!\n"}),
    [](const ::testing::TestParamInfo<TFaultCase>& info) { return std::string(info.param.name); });

TEST_F(WindowsToolRoad, AStartRefusedAfterLoadingLeavesTheCodeUnstarted) {
  const testkit::TChildRun run = Run({File("image.s19")}, {{"QDXSIM_FAULTS", "refuse:start"}});
  EXPECT_EQ(run.status, 1);
  std::string refused = tooltest::Programming(PLUGINS, File("image.s19"), DevicePath(), image.size());
  refused.replace(refused.find("OK\nClosing diag... OK\nQDX programming successful!"), std::string::npos,
                  "Fail\nClosing diag... OK\nQDX programming fail!\n");
  EXPECT_EQ(run.out, Listed("QDXSIM0001", true) + OPENED + RUNNING + refused + CLOSED);
  ExpectFlashHoldsTheImage();
}

const tooltest::TPluginFiles PLUGIN_FILES = {QDXTEST_RD_S19, QDXTEST_WR_QDX, QDXTEST_WR_S19, QDXTEST_PLUGIN_STUB};

class WindowsToolPlugins : public WindowsToolRoad, public ::testing::WithParamInterface<tooltest::TPluginCase> {
 protected:
  // Puts the case's file under a plug-in's name beside the tool, or nothing.
  void Place(tooltest::TPluginFile plugin, const std::string& name) {
    const std::string to = File(name);
    ASSERT_TRUE(DeleteFileA(to.c_str())) << to;
    const std::string from = tooltest::PluginFile(plugin, PLUGIN_FILES);
    if (!from.empty()) {
      ASSERT_TRUE(CopyFileA(testkit::WindowsPath(from).c_str(), to.c_str(), FALSE)) << from;
    }
  }
};

// LoadLibraryA finds no plug-in beside the program, or GetProcAddress not
// its exports: the road prints its problem, and the run goes on with the
// start and the close.
TEST_P(WindowsToolPlugins, ProblemsAreShownAndTheRunGoesOn) {
  ASSERT_NO_FATAL_FAILURE(Place(GetParam().input, PLUGINS.input));
  ASSERT_NO_FATAL_FAILURE(Place(GetParam().output, PLUGINS.output));
  const std::string file = File("image.s19");
  const testkit::TChildRun run = Run({"-S", file});
  // Where the road failed, nothing was programmed and the start fails too.
  EXPECT_EQ(run.status, GetParam().road ? 1 : 0);
  EXPECT_EQ(run.out, Listed("QDXSIM0001", true) + OPENED + RUNNING +
                         tooltest::PluginRunFromTheRoad(
                             GetParam(), PLUGINS, tooltest::Programming(PLUGINS, file, DevicePath(), image.size())));
  // Nothing was programmed where the road failed.
  if (GetParam().road) {
    EXPECT_TRUE(standin_events(Record(), "erase").empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Folders, WindowsToolPlugins, ::testing::ValuesIn(tooltest::PluginCases()),
                         [](const ::testing::TestParamInfo<tooltest::TPluginCase>& info) {
                           return std::string(info.param.name);
                         });

struct TArgumentsCase {
  const char* name;
  std::vector<std::string> args;
  std::string begins;  // what the output begins with
};

std::ostream& operator<<(std::ostream& out, const TArgumentsCase& c) { return out << c.name; }

class WindowsToolArguments : public TWindowsToolTest, public ::testing::WithParamInterface<TArgumentsCase> {};

// argp's own texts, with the Windows version.
TEST_P(WindowsToolArguments, PrintArgpsTexts) {
  const testkit::TChildRun run = Run(GetParam().args);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out.rfind(GetParam().begins, 0), 0u) << run.out;
  EXPECT_EQ(standin_events(Record(), "enumerate").size(), 0u) << "nothing else ran";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, WindowsToolArguments,
    ::testing::Values(TArgumentsCase{"version", {"--version"}, "qdx_tool 1.9.2 windows\n"},
                      TArgumentsCase{"help",
                                     {"--help"},
                                     "Usage: qdx_tool.exe [OPTION...] [<input file>]\n"
                                     "Reads, sets status and programs Tolvane\n\n"
                                     "  -i, --in_file=<INFILE>     Input file\n"},
                      TArgumentsCase{"usage", {"--usage"}, "Usage: qdx_tool.exe [-PrRSt?V] [-i <INFILE>]"}),
    [](const ::testing::TestParamInfo<TArgumentsCase>& info) { return std::string(info.param.name); });

// The test mode reads its keys from standard input (_kbhit on a console):
// "1" sends the first test report after a read that found nothing, space ends.
const std::string TEST_MODE_ONE_THEN_SPACE = "\nR0>\n\nW64>\n >>> 64\n";

TEST_F(WindowsToolRoad, TheTestModeSendsOnKeyOneAndEndsOnSpace) {
  const testkit::TChildRun run = Run({"-t"}, {}, "1 ");
  EXPECT_EQ(run.out, Listed("QDXSIM0001", true) + OPENED + TEST_MODE_ONE_THEN_SPACE);
}

// The same keys typed on the console, where _kbhit and _getch take them.
TEST_F(WindowsToolRoad, TheTestModeTakesTheKeysTypedOnTheConsole) {
  const testkit::TChildRun run = Run({"-t"}, {}, "1 ", "qdx_tool.exe", true);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, Listed("QDXSIM0001", true) + OPENED + TEST_MODE_ONE_THEN_SPACE);
}

}  // namespace
