// Reset levels, debug and trace gates, settings block intake, error text.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "plccomp_fixture.h"

namespace {

// Which console channels are open: the debug flag and three trace mask bits.
struct TGates {
  bool debug;
  bool failures;  // 0x0001
  bool flow;      // 0x1000
  bool detail;    // 0x0004
  bool operator==(const TGates& o) const {
    return debug == o.debug && failures == o.failures && flow == o.flow && detail == o.detail;
  }
};

std::ostream& operator<<(std::ostream& os, const TGates& g) {
  return os << "{debug " << g.debug << ", 0x0001 " << g.failures << ", 0x1000 " << g.flow << ", 0x0004 " << g.detail
            << "}";
}

// Calls exports whose lines fall under each gate and looks which lines came.
TGates probeGates(TPlcCompLib& lib) {
  testkit::TStdoutCapture capture;
  lib.SetCompilerSetting(nullptr, 0);  // its lines use mask 0x0001
  char buffer[8];
  lib.GetLastErrorMsg(buffer, sizeof buffer);  // a debug line, 0x1000 lines, strlennull's 0x0004 line
  const std::string out = capture.Text();
  const auto traces = traceMessages(out);
  return {hasLine(debugLines(out), "GetLastErrorMsg(): copying 'lastErrorMsg' to 'dstBuf'"),
          hasLineStartingWith(traces, "SetCompilerSetting("), hasLineStartingWith(traces, "GetLastErrorMsg("),
          hasLineStartingWith(traces, "strlennull(")};
}

int withMask(int level, unsigned mask) { return static_cast<int>((mask << 8) | static_cast<unsigned>(level)); }

}  // namespace

TEST_F(PlcComp, DebugAndTraceMaskAtLoad) { EXPECT_EQ(probeGates(lib), (TGates{true, true, true, false})); }

struct TResetCase {
  const char* what;
  int level;
  TGates after;
};

class ResetLevels : public PlcComp, public ::testing::WithParamInterface<TResetCase> {};

TEST_P(ResetLevels, LeaveDebugFlagAndTraceMask) {
  lib.ResetCompiler(GetParam().level);
  EXPECT_EQ(probeGates(lib), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    PlcComp, ResetLevels,
    ::testing::Values(
        TResetCase{"total", COMPILER_RESET_LEVEL_TOTAL, {false, false, false, false}},
        TResetCase{"debug", COMPILER_RESET_LEVEL_DEBUG, {true, true, true, false}},
        TResetCase{"trace", COMPILER_RESET_LEVEL_TRACE, {true, true, false, false}},
        TResetCase{"mask1005", withMask(COMPILER_RESET_LEVEL_TRACE_MASK, 0x1005), {true, true, true, true}},
        TResetCase{"mask0", COMPILER_RESET_LEVEL_TRACE_MASK, {true, false, false, false}},
        TResetCase{"mask4", withMask(COMPILER_RESET_LEVEL_TRACE_MASK, 0x0004), {true, false, false, true}},
        TResetCase{"settingsOnly", COMPILER_RESET_LEVEL_COMPILER_SETTINGS_ONLY, {true, true, true, false}},
        TResetCase{"traceFull", COMPILER_RESET_LEVEL_TRACE_FULL, {true, true, true, true}},
        TResetCase{"unknown", 4, {false, false, false, false}},
        TResetCase{"lowByteTotal", 0x100, {false, false, false, false}},
        TResetCase{"lowByteTrace", withMask(COMPILER_RESET_LEVEL_TRACE, 0x1005), {true, true, false, false}},
        TResetCase{"minusOneIsTraceFull", -1, {true, true, true, true}}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(PlcComp, SettingsOnlyResetKeepsDebugOffAfterTotalReset) {
  lib.ResetCompiler(COMPILER_RESET_LEVEL_TOTAL);
  lib.ResetCompiler(COMPILER_RESET_LEVEL_COMPILER_SETTINGS_ONLY);
  EXPECT_EQ(probeGates(lib), (TGates{false, false, false, false}));
}

TEST_F(PlcComp, NestedResetsWriteTheirLinesUnderTheFlagInForce) {
  testkit::TStdoutCapture capture;
  lib.ResetCompiler(COMPILER_RESET_LEVEL_DEBUG);
  const auto traces = traceMessages(capture.Text());
  // The total reset inside turns the flag off before its wipe steps.
  const std::vector<std::string> expected = {"ResetCompiler(1):", "ResetCompiler(): COMPILER_RESET_LEVEL_DEBUG(=1)",
                                             "ResetCompiler(0):", "ResetCompiler(): COMPILER_RESET_LEVEL_TOTAL(=0)",
                                             "ResetCompiler(1) => void"};
  EXPECT_EQ(traces, expected);
}

TEST_F(PlcComp, TraceMaskLevelTakesBits8To23) {
  const int level = withMask(COMPILER_RESET_LEVEL_TRACE_MASK, 0x1005);
  testkit::TStdoutCapture capture;
  lib.ResetCompiler(level);
  const auto traces = traceMessages(capture.Text());
  ASSERT_FALSE(traces.empty());
  EXPECT_EQ(traces.front(), "ResetCompiler(" + std::to_string(level) + "):");
  EXPECT_EQ(traces.back(), "ResetCompiler(" + std::to_string(level) + ") => void");
  EXPECT_FALSE(hasLineStartingWith(traces, "ResetCompiler(): COMPILER_RESET_LEVEL_TRACE_MASK"));
}

TEST_F(PlcComp, UnknownResetLevelSaysSoAndResetsTotally) {
  testkit::TStdoutCapture capture;
  lib.ResetCompiler(4);
  const std::string out = capture.Text();
  EXPECT_TRUE(hasLine(debugLines(out), "ResetCompiler(): Unknown reset level (4), executing full reset!"));
  const std::vector<std::string> expected = {
      "ResetCompiler(4):", "ResetCompiler(0):", "ResetCompiler(): COMPILER_RESET_LEVEL_TOTAL(=0)"};
  EXPECT_EQ(traceMessages(out), expected);
}

struct TSettingsCase {
  const char* what;
  bool withData;
  uint32_t length;
  bool stored;
  const char* error = "";  // the last error text afterwards
};

class SettingsBlocks : public PlcComp, public ::testing::WithParamInterface<TSettingsCase> {};

TEST_P(SettingsBlocks, AreStoredUpToTheCapacity) {
  std::vector<unsigned char> block(102401, 0x5A);
  const auto& c = GetParam();
  testkit::TStdoutCapture capture;
  EXPECT_EQ(lib.SetCompilerSetting(c.withData ? block.data() : nullptr, c.length), c.stored);
  const std::string out = capture.Text();
  const bool odd = c.withData && c.length % 2 != 0 && c.length <= 102400;
  EXPECT_EQ(hasLine(debugLines(out), "SetCompilerSetting(): odd block length (" + std::to_string(c.length) +
                                         ") refused, the byte code must start on a word boundary"),
            odd);
  const auto traces = traceMessages(out);
  ASSERT_EQ(traces.size(), 2u);
  EXPECT_TRUE(endsWith(traces[1], ", " + std::to_string(c.length) + ") => " + (c.stored ? "TRUE" : "FALSE")))
      << traces[1];
  EXPECT_EQ(lastError(), c.error);
}

INSTANTIATE_TEST_SUITE_P(
    PlcComp, SettingsBlocks,
    ::testing::Values(TSettingsCase{"conventional", true, 208, true}, TSettingsCase{"capacity", true, 102400, true},
                      TSettingsCase{"overCapacity", true, 102401, false}, TSettingsCase{"nullData", false, 500, true},
                      TSettingsCase{"nullDataOddLength", false, 501, true},
                      TSettingsCase{"nullDataOverCapacity", false, 102401, false},
                      TSettingsCase{"empty", true, 0, true},
                      TSettingsCase{"oddLength", true, 207, false,
                                    "Parameter error (length=207): odd length, the byte code must start on a word "
                                    "boundary"}),
    [](const auto& info) { return std::string(info.param.what); });

// An address above 32 bits (where pointers are that wide) is traced whole:
// Windows' long has 32 bits also in a 64-bit build. The block is refused for
// its length before it is read.
TEST_F(PlcComp, TracesShowTheWholeBlockAddress) {
  const uintptr_t address = sizeof(void*) > 4 ? uintptr_t(0x123456789A) : uintptr_t(0x12345678);
  const std::string shown = sizeof(void*) > 4 ? "0x123456789A" : "0x12345678";
  testkit::TStdoutCapture capture;
  EXPECT_FALSE(lib.SetCompilerSetting(reinterpret_cast<const unsigned char*>(address), 102401));
  const auto traces = traceMessages(capture.Text());
  const std::vector<std::string> expected = {"SetCompilerSetting(" + shown + ", 102401):",
                                             "SetCompilerSetting(" + shown + ", 102401) => FALSE"};
  EXPECT_EQ(traces, expected);
}

TEST_F(PlcComp, LastErrorIsEmptyBeforeAnyError) {
  char buffer[16] = "untouched";
  EXPECT_EQ(lib.GetLastErrorMsg(nullptr, 100), 0u);
  EXPECT_EQ(lib.GetLastErrorMsg(buffer, 0), 0u);
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(lib.GetLastErrorMsg(buffer, sizeof buffer), 0u);
  EXPECT_STREQ(buffer, "");
}
