// The compile driver: allocation, limits, exit codes, what a compile leaves.
#include <set>
#include <string>
#include <vector>

#include "plccomp_fixture.h"

namespace {

// One instruction per variable, so that every count is 1.
std::vector<std::string> variableNames(const char* stem, size_t count) {
  std::vector<std::string> names;
  for (size_t i = 0; i < count; ++i) names.push_back(stem + std::to_string(i));
  return names;
}

}  // namespace

TEST_F(Compiler, MostReferencedVariablesGetTheLowestIndices) {
  ASSERT_TRUE(lib.AddFixSymbol("t", "INT", 10, 0));
  addProgram({{"SET_VARIABLE_ADD", "b", "b", "a"},
              {"SET_VARIABLE_ADD", "b", "b", "a"},
              {"SET_VARIABLE_TO_VARIABLE", "b", "a"},
              {"COPY_BIT_TO_BIT", "x", "y"},
              {"IF_BIT_SET", "x"},
              {"INCREMENT_VARIABLE", "t"},
              {"END_IF"},
              {"SET_BIT", "y"},
              {"END_OF_PROGRAM"}});
  lib.AddFreeRAMRange(2, 2);
  ASSERT_EQ(lib.StartCompile(), 0) << lastError();
  EXPECT_EQ(symbol("b", "INT").addr, 0u);
  EXPECT_EQ(symbol("a", "INT").addr, 1u);
  EXPECT_EQ((std::set<uint32_t>{symbol("x", "BIT").addr, symbol("y", "BIT").addr}), (std::set<uint32_t>{0, 1}));
  EXPECT_EQ(symbol("t", "INT"), (TSymbol{"ram_int_t", "INT", 10, 0, 1, true}));

  lib.AddFreeRAMRange(1, 2);
  EXPECT_EQ(lib.StartCompile(), 5);
  EXPECT_EQ(lastError(), "Could not compile (5):\nOut of memory for variables");
}

struct TLimitCase {
  const char* what;
  bool bits;
  uint32_t limit;  // 0xFFFFFFFF: the BIT limit as it stands at load
  size_t variables;
  int32_t code;
};

class VariableLimits : public PlcComp, public ::testing::WithParamInterface<TLimitCase> {};

TEST_P(VariableLimits, AdmitExactlyLimitVariables) {
  const auto& c = GetParam();
  lib.ResetCompiler(COMPILER_RESET_LEVEL_TOTAL);
  if (c.limit != 0xFFFFFFFF) lib.AddFreeRAMRange(c.bits ? 0 : c.limit, c.bits ? c.limit : 0);
  const auto names = variableNames("v", c.variables);
  for (const std::string& name : names)
    ASSERT_TRUE(
        lib.AddHighLevelInstruction(c.bits ? "SET_BIT" : "INCREMENT_VARIABLE", name.c_str(), nullptr, nullptr, 0));
  ASSERT_EQ(lib.StartCompile(), c.code) << lastError();
  if (c.code != 0) return;
  // Only the addresses: the largest programs here make the walk the longest step.
  std::set<uint32_t> indices;
  ASSERT_TRUE(lib.GetFirstSymbol());
  do indices.insert(lib.GetCurrentSymbolAddr());
  while (lib.GetNextSymbol());
  EXPECT_EQ(indices.size(), c.variables);
  EXPECT_EQ(*indices.rbegin(), c.variables - 1);
}

INSTANTIATE_TEST_SUITE_P(
    PlcComp, VariableLimits,
    ::testing::Values(TLimitCase{"intLimitAtLoad", false, 0xFFFFFFFF, 1, 5}, TLimitCase{"intExactly", false, 3, 3, 0},
                      TLimitCase{"intOneMore", false, 3, 4, 5}, TLimitCase{"bitExactly", true, 2, 2, 0},
                      TLimitCase{"bitOneMore", true, 2, 3, 5}, TLimitCase{"bitLimitAtLoad", true, 0xFFFFFFFF, 65535, 0},
                      TLimitCase{"bitLimitAtLoadOneMore", true, 0xFFFFFFFF, 65536, 5},
                      // Indices are 16-bit operands: they end at 65535 whatever the host's limit.
                      TLimitCase{"intIndicesUpTo16Bits", false, 70000, 65536, 0},
                      TLimitCase{"intIndexPast16Bits", false, 70000, 65537, 5},
                      TLimitCase{"bitIndicesUpTo16Bits", true, 70000, 65536, 0},
                      TLimitCase{"bitIndexPast16Bits", true, 70000, 65537, 5}),
    [](const auto& info) { return std::string(info.param.what); });

struct TJumpCase {
  const char* what;
  std::vector<TInst> (*program)(size_t);
  size_t size;
  const char* label;  // a compiled program: the label's user name, at record `record`
  uint32_t record;
  const char* error;  // a refused program: the text after "Could not compile (1):\n"
};

namespace {

// Programs around the last jump target a record holds, record 65535.
std::vector<TInst> filler(size_t records) { return std::vector<TInst>(records, TInst{"SET_BIT", "a"}); }

std::vector<TInst> blockAfter(size_t records) {
  auto program = filler(records);
  program.insert(program.end(), {{"IF_BIT_SET", "a"}, {"END_IF"}});
  return program;
}

std::vector<TInst> elseBlockAround(size_t records) {
  std::vector<TInst> program = {{"IF_BIT_SET", "a"}, {"ELSE"}};
  const auto body = filler(records);
  program.insert(program.end(), body.begin(), body.end());
  program.push_back({"END_IF"});
  return program;
}

std::vector<TInst> nestedBlocks(size_t depth) {
  std::vector<TInst> program(depth, TInst{"IF_BIT_SET", "a"});
  program.insert(program.end(), depth, TInst{"END_IF"});
  return program;
}

std::vector<TInst> blockBefore(size_t records) {
  std::vector<TInst> program = {{"IF_BIT_SET", "a"}, {"END_IF"}};
  const auto tail = filler(records);
  program.insert(program.end(), tail.begin(), tail.end());
  return program;
}

const TJumpCase kJumpCases[] = {
    {"ifTargetAtTheLastRecord", blockAfter, 65534, "1_1", 65535, nullptr},
    {"ifTargetPastIt", blockAfter, 65535, nullptr, 0,
     "Program too long for 16-bit jump targets: label 'lbl_1_1' marks record 65536"},
    {"elseTargetAtTheLastRecord", elseBlockAround, 65533, "1_2", 65535, nullptr},
    {"elseTargetPastIt", elseBlockAround, 65534, nullptr, 0,
     "Program too long for 16-bit jump targets: label 'lbl_1_2' marks record 65536"},
    // The most blocks whose labels fit; with more, label names would also repeat
    // (they carry the block number modulo 65536).
    {"nestedBlocksUpToTheLastRecord", nestedBlocks, 32768, "1_1", 65535, nullptr},
    {"oneNestedBlockMore", nestedBlocks, 32769, nullptr, 0,
     "Program too long for 16-bit jump targets: label 'lbl_2_1' marks record 65536"},
    // A program may run past record 65535 where no label stands.
    {"longTailWithoutLabels", blockBefore, 65535, "1_1", 1, nullptr},
};

}  // namespace

class JumpTargets : public Compiler, public ::testing::WithParamInterface<TJumpCase> {};

TEST_P(JumpTargets, EndAtRecord65535) {
  const auto& c = GetParam();
  addProgram(c.program(c.size));
  if (c.error) {
    EXPECT_EQ(lib.StartCompile(), 1);
    EXPECT_EQ(lastError(), std::string("Could not compile (1):\n") + c.error);
    EXPECT_FALSE(lib.GetFirstByte());
    return;
  }
  ASSERT_EQ(lib.StartCompile(), 0) << lastError();
  EXPECT_EQ(symbol(c.label, "LABEL").addr, c.record);
}

INSTANTIATE_TEST_SUITE_P(PlcComp, JumpTargets, ::testing::ValuesIn(kJumpCases),
                         [](const auto& info) { return std::string(info.param.what); });

TEST_F(Compiler, OutOfVariablesIsReportedAndLeavesNoImage) {
  lib.ResetCompiler(COMPILER_RESET_LEVEL_DEBUG);
  addProgram({{"INCREMENT_VARIABLE", "n"}, {"END_OF_PROGRAM"}});
  testkit::TStdoutCapture capture;
  EXPECT_EQ(lib.StartCompile(), 5);
  const std::string out = capture.Text();
  EXPECT_TRUE(hasLine(debugLines(out), "allocateVariables(): Unable to allocate all variables."));
  const auto traces = traceMessages(out);
  EXPECT_TRUE(hasLine(traces, "allocateVariables() => FALSE"));
  EXPECT_TRUE(hasLine(traces, "AbortCompile(5, \"Out of memory for variables\")"));
  EXPECT_EQ(traces.back(), "StartCompile() => EXITCODE_ERROR(=5)");
  EXPECT_FALSE(lib.GetFirstByte());
  // The symbols created before the error stay.
  EXPECT_EQ(symbol("n", "INT").accessed, 1);
}

TEST_F(Compiler, SuccessfulCompileWritesItsMilestonesAndRewinds) {
  lib.ResetCompiler(COMPILER_RESET_LEVEL_DEBUG);
  lib.AddFreeFLASHRange(0x300, 0x3FF);
  const uint8_t settings[] = {0xAB, 0xCD};
  ASSERT_TRUE(lib.SetCompilerSetting(settings, 2));
  ASSERT_FALSE(lib.AddHighLevelInstruction("bogus", nullptr, nullptr, nullptr, 0));
  addProgram({{"IF_BIT_SET", "a"}, {"END_IF"}, {"END_OF_PROGRAM"}});
  testkit::TStdoutCapture capture;
  EXPECT_EQ(lib.StartCompile(), 0);
  const auto traces = traceMessages(capture.Text());
  for (const char* milestone :
       {"StartCompile():", "allocateVariables():", "allocateVariables() => TRUE",
        "allocateLabels():", "allocateLabels() => TRUE", "AddCRCtoEndOfProgram():", "AddCRCtoEndOfProgram() -> void"})
    EXPECT_TRUE(hasLine(traces, milestone)) << milestone;
  EXPECT_EQ(traces.back(), "StartCompile() => EXITCODE_NO_ERROR(=0)");
  // The stream stands on the first byte and the walk on the first symbol.
  EXPECT_EQ(lib.GetCurrentByteAddress(), 0x300u);
  EXPECT_EQ(lib.GetCurrentByteData(), 0xAB);
  EXPECT_TRUE(lib.GetFirstCodeLine());
  EXPECT_NE(currentSymbol().name, "");
  // An earlier error text is not cleared by a success.
  EXPECT_EQ(lastError(), "Unrecognized mnemonic 'bogus'");
}

TEST_F(Compiler, AllocationWarningsNameLabelsAsNoRamSymbols) {
  lib.ResetCompiler((0x0002 << 8) | COMPILER_RESET_LEVEL_TRACE_MASK);
  addProgram({{"IF_BIT_SET", "a"}, {"END_IF"}});
  testkit::TStdoutCapture capture;
  ASSERT_EQ(lib.StartCompile(), 0);
  const auto traces = traceMessages(capture.Text());
  EXPECT_TRUE(hasLine(traces, "allocateVariables(): symbol \"lbl_1_0\" not recognized as RAM symbol"));
  EXPECT_TRUE(hasLine(traces, "allocateVariables(): symbol \"lbl_1_1\" not recognized as RAM symbol"));
  EXPECT_EQ(traces.size(), 2u);
}

TEST_F(Compiler, RecompilingGivesTheSameImage) {
  lib.AddFreeRAMRange(4, 4);
  addProgram({{"SET_VARIABLE_ADD", "s", "s", "t"},
              {"IF_VARIABLE_GRT_VARIABLE", "s", "t"},
              {"SET_BIT", "hi"},
              {"ELSE"},
              {"CLEAR_BIT", "hi"},
              {"END_IF"},
              {"END_OF_PROGRAM"}});
  ASSERT_EQ(lib.StartCompile(), 0);
  const auto first = image();
  const auto table = symbols();
  ASSERT_EQ(lib.StartCompile(), 0);
  EXPECT_EQ(image(), first);
  EXPECT_EQ(symbols().size(), table.size());
}

TEST_F(Compiler, FailedRecompileRemovesTheImage) {
  addProgram({{"SET_BIT", "a"}});
  ASSERT_EQ(lib.StartCompile(), 0);
  ASSERT_TRUE(lib.GetFirstByte());
  addProgram({{"END_IF"}});
  ASSERT_EQ(lib.StartCompile(), 1);
  EXPECT_FALSE(lib.GetFirstByte());
  EXPECT_FALSE(lib.GetFirstCodeLine());
  EXPECT_TRUE(lib.GetSymbolByName("a", "BIT"));
}
