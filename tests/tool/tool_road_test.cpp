// The programming road: an image our compiler produced, written as an
// S-record file, programmed into the controller by qdx_tool through the
// S-record input plug-in and the device writer; and every way the road can
// fail on the way, after which the run goes on.
#include <gtest/gtest.h>

#include "corrupted_image.h"
#include "sim_world.h"
#include "tool_fixture.h"

namespace {

using tooltest::CLOSED;
using tooltest::Dump;
using tooltest::Listed;
using tooltest::OPENED;
using tooltest::Stopped;
using tooltest::TStatus;

constexpr size_t FLASH_SIZE = 128 * 1024;

const std::string RUNNING = Dump({});
const std::string STOPPED = Dump(Stopped("DIAG_STOP(13) /Stopped due to Diagnostic request/"));
const std::string STOP = "Stopping Tolvane... OK\n" + STOPPED;
const std::string START = "Starting Tolvane... OK\n" + RUNNING;
const tooltest::TPlugins LIBRARIES = {"librd_s19.so", "libwr_qdx.so"};

class ToolRoad : public TToolTest {
 protected:
  void SetUp() override {
    // The example host compiles its ladder program and writes the image
    // through the S-record writer; -o gives the same bytes raw.
    TRunRequest request;
    request.program = QDXTEST_PLCCOMP_EXAMPLE;
    request.args = {"-o", File("image.bin"), "-p", QDXTEST_WR_S19, File("image.s19")};
    request.standin = false;
    const testkit::TChildRun compiled = tooltest_run(request);
    ASSERT_EQ(compiled.status, 0) << compiled.out << compiled.err;
    image = testkit::ReadBytes(File("image.bin"));
    ASSERT_GT(image.size(), 208u);
  }

  // The writer's dialogue when it programs the image into a controller (0 by default).
  std::string Programming(const std::string& file, const std::string& path = "") const {
    return tooltest::Programming(LIBRARIES, file, path.empty() ? DevicePath() : path, image.size());
  }

  void ExpectFlashHoldsTheImage(const std::string& flashFile) const {
    const TBytes flash = testkit::ReadBytes(flashFile);
    ASSERT_EQ(flash.size(), FLASH_SIZE);
    EXPECT_EQ(TBytes(flash.begin(), flash.begin() + image.size()), image);
    EXPECT_EQ(TBytes(flash.begin() + image.size(), flash.end()), TBytes(FLASH_SIZE - image.size(), 0xFF));
  }

  TBytes image;
};

class ToolRoadAtPeriod : public ToolRoad, public ::testing::WithParamInterface<unsigned> {};

// The controller sends information reports from the tool's first entry into
// diagnostic mode until a close, at any moment: between a packet and its
// answer, between the busy reports of a block.
TEST_P(ToolRoadAtPeriod, RestartProgramsTheCompiledImage) {
  const std::string file = File("image.s19");
  const testkit::TChildRun run = Run({"-r", file}, {{"QDXSIM_REPORT_MS", std::to_string(GetParam())}});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, Listed("QDXSIM0001", true) + OPENED + RUNNING + STOP + Programming(file) + START + CLOSED);
  ExpectFlashHoldsTheImage(File("flash.bin"));
  // The controller checked the END_OF_PROGRAM record and the CRC when the writer started it.
  const std::vector<TRecordLine> starts = standin_events(Record(), "start");
  ASSERT_FALSE(starts.empty());
  EXPECT_EQ(starts.front().fields.at(1), "ok");
  // Its word count runs to the record's two count words: all but the last two words.
  EXPECT_EQ(std::stoul(starts.front().fields.at(2)), image.size() / 2 - 2);
  // The tool, the writer and the tool again each open and close the device.
  EXPECT_EQ(Events("open", 1), (std::vector<std::string>{"ok", "ok", "ok"}));
  EXPECT_EQ(Events("close", 0).size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(ReportPeriods, ToolRoadAtPeriod, ::testing::Values(2u, 5u, 20u, 50u),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                           return "information_every_" + std::to_string(info.param) + "ms";
                         });

TEST_F(ToolRoad, ACorruptedImageIsRefusedAtTheStart) {
  // A byte of the first instruction behind the settings block.
  folder.Write("corrupted.s19", tooltest_corrupted(folder.Read("image.s19"), 0xD4));
  const std::string file = File("corrupted.s19");
  const testkit::TChildRun run = Run({"-r", file});
  EXPECT_EQ(run.status, 1);
  std::string refused = Programming(file);
  refused.replace(refused.find("OK\nClosing diag... OK\nQDX programming successful!"), std::string::npos,
                  "Fail\nClosing diag... OK\nQDX programming fail!\n");
  // The erase took the shipped ladder, and no start brought one.
  TStatus crcStop = Stopped("CRC_ERROR(2) /PLC stopped due to ladder code CRC error./");
  crcStop.shipped = false;
  const std::string crcError = Dump(crcStop);
  EXPECT_EQ(run.out, Listed("QDXSIM0001", true) + OPENED + RUNNING + STOP + refused + "Starting Tolvane... Fail\n" +
                         crcError + CLOSED);
  EXPECT_EQ(Events("start", 1), (std::vector<std::string>{"refused", "refused"}));
}

TEST_F(ToolRoad, ProgramsTheSelectedControllerOfTwo) {
  const std::string file = File("image.s19");
  const testkit::TChildRun run = Run({"-n", "1", file}, {{"QDXSIM_COUNT", "2"}});
  EXPECT_EQ(run.out, Listed("QDXSIM0001", false) + Listed("QDXSIM0002", true) + OPENED + RUNNING +
                         Programming(file, DevicePath(1)) + CLOSED);
  EXPECT_EQ(run.status, 0);
  ExpectFlashHoldsTheImage(File("flash.bin.1"));
}

// Device paths longer than the Windows build's destination buffer (245
// characters behind the prefix) go whole to the writer; Linux names no file
// by a path of more than 4095 bytes.
TEST_F(ToolRoad, LongDevicePathsAreNeverCut) {
  const std::string file = File("image.s19");
  for (size_t pad : {300, 3500}) {
    SCOPED_TRACE(pad);
    const testkit::TChildRun run = Run({file}, {{"QDXSIM_PATH_PAD", std::to_string(pad)}});
    const std::string path = DevicePath() + sim_path_pad(pad);
    EXPECT_EQ(run.out, Listed("QDXSIM0001", true) + OPENED + RUNNING + Programming(file, path) + CLOSED);
    EXPECT_EQ(run.status, 0);
  }
}

// A failed reopen after programming ends the run at once.
TEST_F(ToolRoad, AFailedReopenEndsTheRun) {
  const std::string file = File("image.s19");
  const testkit::TChildRun run = Run({"-r", file}, {{"QDXSIM_FAULTS", "open_fail:3"}});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out,
            Listed("QDXSIM0001", true) + OPENED + RUNNING + STOP + Programming(file) + "Cannot reopen the device!\n");
  EXPECT_EQ(Events("mode", 1), (std::vector<std::string>{"42", "48", "42", "48", "44", "47", "40"}));
}

struct TArgumentsCase : tooltest::TNamedCase {
  std::vector<std::string> args;
  std::string taken;
};

using ToolInputFile = TToolTable<TArgumentsCase>;

// Files that do not exist: the input plug-in refuses the one the tool took.
TEST_P(ToolInputFile, TakesTheFirstFileNamed) {
  const testkit::TChildRun run = Run(GetParam().args);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, Listed("QDXSIM0001", true) + OPENED + RUNNING + tooltest::Loading(LIBRARIES, true, true) +
                         "Attaching librd_s19.so to libwr_qdx.so... OK\nOpening input file '" + GetParam().taken +
                         "'... Fail\n" + CLOSED);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ToolInputFile,
    ::testing::Values(TArgumentsCase{{"option"}, {"-i", "a.s19"}, "a.s19"},
                      TArgumentsCase{{"long_option"}, {"--in_file=a.s19"}, "a.s19"},
                      TArgumentsCase{{"positional"}, {"a.s19"}, "a.s19"},
                      TArgumentsCase{{"positional_after_the_option_ignored"}, {"-i", "a.s19", "b.s19"}, "a.s19"},
                      TArgumentsCase{{"positional_before_the_option_ignored"}, {"b.s19", "-i", "a.s19"}, "a.s19"},
                      TArgumentsCase{{"two_positionals"}, {"a.s19", "b.s19"}, "a.s19"},
                      TArgumentsCase{{"positional_after_an_empty_option"}, {"-i", "", "b.s19"}, "b.s19"},
                      TArgumentsCase{{"last_option_wins"}, {"-i", "a.s19", "-i", "c.s19"}, "c.s19"}),
    tooltest::TCaseName());

const tooltest::TPluginFiles PLUGIN_FILES = {QDXTEST_RD_S19, QDXTEST_WR_QDX, QDXTEST_WR_S19, QDXTEST_PLUGIN_STUB};

class ToolPlugins : public ToolRoad, public ::testing::WithParamInterface<tooltest::TPluginCase> {};

// The tool in a tree of the installed layout with the plug-ins of the case:
// the road prints its problem, and the run goes on with the start and the close.
TEST_P(ToolPlugins, ProblemsAreShownAndTheRunGoesOn) {
  std::vector<std::pair<std::string, std::string>> libraries;
  for (const auto& place :
       {std::make_pair(GetParam().input, LIBRARIES.input), std::make_pair(GetParam().output, LIBRARIES.output)}) {
    const std::string file = tooltest::PluginFile(place.first, PLUGIN_FILES);
    if (!file.empty()) libraries.emplace_back(file, place.second);
  }
  const std::string tool = InstallTree(libraries);
  const std::string file = File("image.s19");
  const testkit::TChildRun run = Run({"-S", file}, {}, "", tool);
  // Where the road failed, nothing was programmed and the start fails too.
  EXPECT_EQ(run.status, GetParam().road ? 1 : 0);
  EXPECT_EQ(run.out, Listed("QDXSIM0001", true) + OPENED + RUNNING +
                         tooltest::PluginRunFromTheRoad(GetParam(), LIBRARIES, Programming(file)));
  // Nothing was programmed where the road failed.
  if (GetParam().road) {
    EXPECT_TRUE(Events("erase", 1).empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Trees, ToolPlugins, ::testing::ValuesIn(tooltest::PluginCases()), tooltest::TCaseName());

}  // namespace
