// Instruction intake: every check, its order, its texts.
#include <cstring>
#include <string>

#include "plccomp_fixture.h"

namespace {

const std::string k127(127, 'n');
const std::string k128(128, 'n');
const std::string k300(300, 'c');

}  // namespace

struct TIntakeCase {
  const char* what;
  const char* inst;
  const char* arg1;
  const char* arg2;
  const char* arg3;
  short literal;
  const char* error;      // nullptr: accepted
  const char* debugLine;  // expected debug line of the refusal, or nullptr
  const char* traceLine;  // expected trace line (mask 1) of the refusal, or nullptr
};

class Intake : public PlcComp, public ::testing::WithParamInterface<TIntakeCase> {};

TEST_P(Intake, ChecksEachCallAgainstItsOperation) {
  const auto& c = GetParam();
  testkit::TStdoutCapture capture;
  const bool accepted = lib.AddHighLevelInstruction(c.inst, c.arg1, c.arg2, c.arg3, c.literal);
  const std::string out = capture.Text();
  const auto traces = traceMessages(out);
  ASSERT_FALSE(traces.empty());
  if (!c.error) {
    EXPECT_TRUE(accepted);
    EXPECT_EQ(lastError(), "");
    EXPECT_TRUE(endsWith(traces.back(), ") => TRUE")) << traces.back();
    return;
  }
  EXPECT_FALSE(accepted);
  EXPECT_EQ(lastError(), c.error);
  if (c.debugLine) {
    EXPECT_TRUE(hasLine(debugLines(out), c.debugLine)) << out;
  }
  if (c.traceLine) {
    EXPECT_TRUE(hasLine(traces, c.traceLine)) << out;
  }
  EXPECT_TRUE(endsWith(traces.back(), ") => FALSE")) << traces.back();
}

INSTANTIATE_TEST_SUITE_P(
    PlcComp, Intake,
    ::testing::Values(
        TIntakeCase{"name127", "SET_BIT", k127.c_str(), "", "", 0, nullptr, nullptr, nullptr},
        TIntakeCase{"name128", "SET_BIT", k128.c_str(), "", "", 0, "Mnemonic 'SET_BIT', argument1 error",
                    "AddHighLevelInstruction(): Parameter 'arg1' invalid length(128)", nullptr},
        TIntakeCase{"lowerCase", "set_bit", "a", nullptr, nullptr, 0, "Unrecognized mnemonic 'set_bit'",
                    "AddHighLevelInstruction(): \"set_bit\" not recognized as High Level Instruction", nullptr},
        TIntakeCase{"trailingBlank", "SET_BIT ", "a", nullptr, nullptr, 0, "Unrecognized mnemonic 'SET_BIT '", nullptr,
                    nullptr},
        TIntakeCase{"nullInst", nullptr, "a", nullptr, nullptr, 0, "Unrecognized mnemonic '<NULL>'",
                    "AddHighLevelInstruction(): NULL pointer detected. (1)",
                    "AddHighLevelInstruction(): parameter 'inst' == NULL!"},
        TIntakeCase{"emptyInst", "", "a", nullptr, nullptr, 0, "Unrecognized mnemonic ''",
                    "AddHighLevelInstruction(): Parameter 'inst' is zero length", nullptr},
        TIntakeCase{"highestBadRequiredFirst", "SET_VARIABLE_ADD", "", "", "", 0,
                    "Mnemonic 'SET_VARIABLE_ADD', argument3 error",
                    "AddHighLevelInstruction(): Parameter 'arg3' invalid length(0)", nullptr},
        TIntakeCase{"arg2BeforeArg1", "SET_VARIABLE_ADD", "", "", "c", 0,
                    "Mnemonic 'SET_VARIABLE_ADD', argument2 error", nullptr, nullptr},
        TIntakeCase{"nullRequiredArg1", "SET_BIT", nullptr, nullptr, nullptr, 0, "Mnemonic 'SET_BIT', argument1 error",
                    "AddHighLevelInstruction(): NULL pointer detected. (2)",
                    "AddHighLevelInstruction(): parameter 'arg1' == NULL!"},
        TIntakeCase{"nullRequiredArg2", "SET_VARIABLE_ADD", "a", nullptr, "c", 0,
                    "Mnemonic 'SET_VARIABLE_ADD', argument2 error",
                    "AddHighLevelInstruction(): NULL pointer detected. (3)",
                    "AddHighLevelInstruction(): parameter 'arg2' == NULL!"},
        TIntakeCase{"nullRequiredArg3", "SET_PWM", "a", "b", nullptr, 0, "Mnemonic 'SET_PWM', argument3 error",
                    "AddHighLevelInstruction(): NULL pointer detected. (4)",
                    "AddHighLevelInstruction(): parameter 'arg3' == NULL!"},
        TIntakeCase{"lowestNonEmptyFirst", "SET_BIT", "a", "x", "yy", 0, "Mnemonic 'SET_BIT', argument2 error",
                    "AddHighLevelInstruction(): Parameter 'arg2' invalid length(1)",
                    "AddHighLevelInstruction(): Parameter 'arg2'(=\"x\") invalid length: min=0, max=0"},
        TIntakeCase{"nameBeforeLiteral", "COPY_BIT_TO_BIT", "a", "b", "c", 9,
                    "Mnemonic 'COPY_BIT_TO_BIT', argument3 error", nullptr, nullptr},
        TIntakeCase{"literalUncheckedForId3", "COPY_BIT_TO_BIT", "a", "b", "", 9, nullptr, nullptr, nullptr},
        TIntakeCase{"literalOfIncrement", "INCREMENT_VARIABLE", "v", nullptr, nullptr, 1,
                    "Mnemonic 'INCREMENT_VARIABLE', argument4 error",
                    "AddHighLevelInstruction(): Parameter 'literal' should be zero for 'INCREMENT_VARIABLE'",
                    "AddHighLevelInstruction(): Parameter 'literal'(=1) invalid value: min=0, max=0"},
        TIntakeCase{"literalOfElse", "ELSE", nullptr, nullptr, nullptr, 2, "Mnemonic 'ELSE', argument4 error", nullptr,
                    nullptr},
        TIntakeCase{"literalOfEndIf", "END_IF", nullptr, nullptr, nullptr, -1, "Mnemonic 'END_IF', argument4 error",
                    nullptr, "AddHighLevelInstruction(): Parameter 'literal'(=-1) invalid value: min=0, max=0"},
        TIntakeCase{"literalOfComment", "COMMENT", nullptr, nullptr, nullptr, 3, "Mnemonic 'COMMENT', argument4 error",
                    nullptr, nullptr},
        TIntakeCase{"literalOfCompare", "IF_VARIABLE_EQUALS_VARIABLE", "a", "b", nullptr, 3,
                    "Mnemonic 'IF_VARIABLE_EQUALS_VARIABLE', argument4 error", nullptr, nullptr},
        TIntakeCase{"endOfProgramLiteral", "END_OF_PROGRAM", nullptr, nullptr, nullptr, 7, nullptr, nullptr, nullptr},
        TIntakeCase{"endOfProgramName", "END_OF_PROGRAM", nullptr, nullptr, "z", 0,
                    "Mnemonic 'END_OF_PROGRAM', argument3 error", nullptr, nullptr},
        TIntakeCase{"endOfProgramNamesArg1First", "END_OF_PROGRAM", "x", nullptr, "z", 0,
                    "Mnemonic 'END_OF_PROGRAM', argument1 error", nullptr, nullptr},
        TIntakeCase{"commentNamesIgnored", "COMMENT", k300.c_str(), k300.c_str(), k300.c_str(), 0, nullptr, nullptr,
                    nullptr},
        TIntakeCase{"simulateNodeState", "SIMULATE_NODE_STATE", "a", k300.c_str(), nullptr, -3, nullptr, nullptr,
                    nullptr},
        TIntakeCase{"nullNamesCountAsEmpty", "SET_BIT", "a", nullptr, nullptr, 0, nullptr, nullptr, nullptr},
        TIntakeCase{"eepromAccepted", "EEPROM_WRITE", "v", nullptr, nullptr, 12, nullptr, nullptr, nullptr}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(PlcComp, IntakeTracesItsArgumentsQuotedAndNullBare) {
  testkit::TStdoutCapture capture;
  lib.AddHighLevelInstruction("SET_BIT", "a", nullptr, "", 5);
  const auto traces = traceMessages(capture.Text());
  const std::vector<std::string> expected = {
      "AddHighLevelInstruction(\"SET_BIT\", \"a\", NULL, \"\", 5):",
      "AddHighLevelInstruction(): 'inst'(=\"SET_BIT\") recognized as INT_SET_BIT(=1)",
      "AddHighLevelInstruction(\"SET_BIT\", \"a\", NULL, \"\", 5) => TRUE"};
  EXPECT_EQ(traces, expected);
}

TEST_F(PlcComp, OverlongErrorTextIsCutTo4999Characters) {
  const std::string inst(5000, 'X');
  testkit::TStdoutCapture capture;
  EXPECT_FALSE(lib.AddHighLevelInstruction(inst.c_str(), nullptr, nullptr, nullptr, 0));
  const std::string out = capture.Text();
  EXPECT_TRUE(hasLine(debugLines(out), "AddHighLevelInstruction(): printf buffer too small, error message truncated"));
  const std::string text = lastError();
  EXPECT_EQ(text.size(), 4999u);
  EXPECT_EQ(text, ("Unrecognized mnemonic '" + inst).substr(0, 4999));
}

TEST_F(PlcComp, OverlongDebugLineIsAnnouncedThenCut) {
  const std::string inst(12000, 'Y');
  testkit::TStdoutCapture capture;
  lib.AddHighLevelInstruction(inst.c_str(), nullptr, nullptr, nullptr, 0);
  const auto lines = splitLines(capture.Text());
  const std::string full = "AddHighLevelInstruction(): \"" + inst + "\" not recognized as High Level Instruction";
  bool found = false;
  for (size_t i = 1; i < lines.size(); ++i)
    if (lines[i] == full.substr(0, 10239)) {
      found = true;
      EXPECT_EQ(lines[i - 1], "dbp_va(): printf buffer too small, error message truncated");
    }
  EXPECT_TRUE(found);
}

TEST_F(PlcComp, ErrorTextStaysUntilTheNextErrorAndIsCopiedBounded) {
  ASSERT_FALSE(lib.AddHighLevelInstruction("abcdef", nullptr, nullptr, nullptr, 0));
  EXPECT_TRUE(lib.AddHighLevelInstruction("END_OF_PROGRAM", nullptr, nullptr, nullptr, 0));
  const std::string text = "Unrecognized mnemonic 'abcdef'";
  ASSERT_EQ(text.size(), 30u);
  char buffer[16];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(lib.GetLastErrorMsg(buffer, 10), 30u);
  EXPECT_EQ(std::string(buffer, 10), text.substr(0, 9) + '\0');
  EXPECT_EQ(buffer[10], '#');
  char untouched[4] = "abc";
  EXPECT_EQ(lib.GetLastErrorMsg(nullptr, 100), 30u);
  EXPECT_EQ(lib.GetLastErrorMsg(untouched, 0), 30u);
  EXPECT_STREQ(untouched, "abc");
  EXPECT_EQ(lastError(), text);

  ASSERT_FALSE(lib.AddHighLevelInstruction("SET_BIT", nullptr, nullptr, nullptr, 0));
  EXPECT_EQ(lastError(), "Mnemonic 'SET_BIT', argument1 error");
}

TEST_F(PlcComp, TotalResetEmptiesTheErrorText) {
  ASSERT_FALSE(lib.AddHighLevelInstruction("nope", nullptr, nullptr, nullptr, 0));
  lib.ResetCompiler(COMPILER_RESET_LEVEL_COMPILER_SETTINGS_ONLY);
  EXPECT_NE(lastError(), "");
  lib.ResetCompiler(COMPILER_RESET_LEVEL_TOTAL);
  EXPECT_EQ(lastError(), "");
}
