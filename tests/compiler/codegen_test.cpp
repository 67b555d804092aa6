// Byte-code generation: the records of each operation, blocks and their
// labels, and the compile errors.
#include <pthread.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "plccomp_fixture.h"

namespace {

using TRecord = std::array<uint16_t, 5>;  // op, arg1, arg2, arg3, literal

// The image's records, read back through the stream (no settings block).
std::vector<TRecord> recordsOf(const std::vector<uint8_t>& bytes) {
  std::vector<TRecord> records;
  for (size_t at = 0; at + 10 <= bytes.size(); at += 10) {
    TRecord r;
    for (int f = 0; f < 5; ++f) r[f] = static_cast<uint16_t>(bytes[at + 2 * f] | bytes[at + 2 * f + 1] << 8);
    records.push_back(r);
  }
  return records;
}

struct TFixed {
  const char* name;
  const char* type;
  uint32_t addr;
};

// Variables with host addresses, so that records do not depend on allocation.
const std::vector<TFixed> kFixed = {{"a", "BIT", 11}, {"x", "BIT", 12},    {"y", "BIT", 13}, {"done", "BIT", 14},
                                    {"v", "INT", 21}, {"w", "INT", 22},    {"p", "INT", 23}, {"q", "INT", 24},
                                    {"r", "INT", 25}, {"duty", "INT", 26}, {"f", "INT", 27}, {"ch", "INT", 28}};

}  // namespace

class Codegen : public Compiler {
 protected:
  std::vector<TRecord> compiled() {
    EXPECT_EQ(lib.StartCompile(), 0) << lastError();
    auto records = recordsOf(image());
    EXPECT_FALSE(records.empty());
    if (!records.empty()) {
      EXPECT_EQ(records.back()[0], 255);
      records.pop_back();  // the END record and its trailer
    }
    return records;
  }
};

TEST_F(Codegen, IfElseBlockOfTheWorkedExample) {
  addProgram(
      {{"IF_BIT_SET", "in1"}, {"SET_BIT", "out1"}, {"ELSE"}, {"CLEAR_BIT", "out1"}, {"END_IF"}, {"END_OF_PROGRAM"}});
  ASSERT_EQ(lib.StartCompile(), 0);
  const auto bytes = image();
  ASSERT_EQ(bytes.size(), 60u);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 52), bytesOf("32 00 01 00 00 00 02 00 00 00"
                                                                             " 01 00 00 00 00 00 00 00 00 00"
                                                                             " 3C 00 00 00 00 00 04 00 00 00"
                                                                             " 02 00 00 00 00 00 00 00 00 00"
                                                                             " 3D 00 00 00 00 00 00 00 00 00"
                                                                             " FF 00"));
  EXPECT_EQ(symbol("out1", "BIT").addr, 0u);
  EXPECT_EQ(symbol("in1", "BIT").addr, 1u);
  EXPECT_EQ(symbol("1_0", "LABEL").addr, 0u);
  EXPECT_EQ(symbol("1_1", "LABEL").addr, 2u);
  EXPECT_EQ(symbol("1_2", "LABEL").addr, 4u);
  // References of one pass: the operands, one for the IF's label, two for each of the others.
  EXPECT_EQ(symbol("out1", "BIT").accessed, 2);
  EXPECT_EQ(symbol("1_0", "LABEL").accessed, 1);
  EXPECT_EQ(symbol("1_1", "LABEL").accessed, 2);
  EXPECT_EQ(symbol("1_2", "LABEL").accessed, 2);
}

struct TShapeCase {
  const char* what;
  std::vector<TInst> program;
  std::vector<TRecord> records;  // without the END record
};

class RecordShapes : public Codegen, public ::testing::WithParamInterface<TShapeCase> {};

TEST_P(RecordShapes, FollowTheLoweringTable) {
  for (const TFixed& f : kFixed) ASSERT_TRUE(lib.AddFixSymbol(f.name, f.type, f.addr, 9));
  addProgram(GetParam().program);
  EXPECT_EQ(compiled(), GetParam().records);
}

INSTANTIATE_TEST_SUITE_P(
    PlcComp, RecordShapes,
    ::testing::Values(
        TShapeCase{"endOnly", {{"END_OF_PROGRAM"}}, {}},
        TShapeCase{"withoutEnd", {{"SET_BIT", "a"}}, {{1, 11, 0, 0, 0}}},
        TShapeCase{"skipped",
                   {{"COMMENT"}, {"SET_BIT", "a"}, {"SIMULATE_NODE_STATE"}, {"CLEAR_BIT", "a"}, {"END_OF_PROGRAM"}},
                   {{1, 11, 0, 0, 0}, {2, 11, 0, 0, 0}}},
        TShapeCase{"bitLiterals",
                   {{"SET_BIT", "a", nullptr, nullptr, 3}, {"COPY_BIT_TO_BIT", "x", "y", nullptr, 9}},
                   {{1, 11, 0, 0, 3}, {3, 12, 13, 0, 9}}},
        TShapeCase{
            "literalLow16Bits", {{"SET_VARIABLE_TO_LITERAL", "v", nullptr, nullptr, -1}}, {{4, 21, 0, 0, 0xFFFF}}},
        TShapeCase{"variables",
                   {{"SET_VARIABLE_TO_VARIABLE", "v", "w"}, {"INCREMENT_VARIABLE", "v"}},
                   {{5, 21, 22, 0, 0}, {6, 21, 0, 0, 0}}},
        TShapeCase{"arithmetic",
                   {{"SET_VARIABLE_ADD", "r", "p", "q"},
                    {"SET_VARIABLE_SUBTRACT", "r", "p", "q"},
                    {"SET_VARIABLE_MULTIPLY", "r", "p", "q"},
                    {"SET_VARIABLE_DIVIDE", "r", "q", "p"}},
                   {{7, 25, 23, 24, 0}, {8, 25, 23, 24, 0}, {9, 25, 23, 24, 0}, {10, 25, 24, 23, 0}}},
        TShapeCase{"peripheralsCompile",
                   {{"READ_ADC", "v", nullptr, nullptr, 3},
                    {"SET_PWM", "duty", "f", "ch", 5},
                    {"UART_SEND", "v", "done", nullptr, 2},
                    {"UART_RECV", "w", "done", nullptr, 1}},
                   {{11, 21, 0, 0, 3}, {12, 26, 27, 28, 0}, {13, 21, 14, 0, 2}, {14, 22, 14, 0, 1}}},
        TShapeCase{"ifDirectlyClosed",
                   {{"IF_BIT_CLEAR", "x", nullptr, nullptr, 4}, {"END_IF"}, {"END_OF_PROGRAM"}},
                   {{51, 12, 0, 1, 4}, {61, 0, 0, 0, 0}}},
        TShapeCase{"compares",
                   {{"IF_VARIABLE_LES_LITERAL", "v", nullptr, nullptr, 7},
                    {"END_IF"},
                    {"IF_VARIABLE_EQUALS_VARIABLE", "v", "w"},
                    {"END_IF"},
                    {"IF_VARIABLE_GRT_VARIABLE", "w", "v"},
                    {"END_IF"}},
                   {{52, 21, 0, 1, 7},
                    {61, 0, 0, 0, 0},
                    {53, 21, 22, 3, 0},
                    {61, 0, 0, 0, 0},
                    {54, 22, 21, 5, 0},
                    {61, 0, 0, 0, 0}}},
        TShapeCase{"nestedBlocks",
                   {{"IF_BIT_SET", "a"},
                    {"IF_BIT_SET", "x"},
                    {"END_IF"},
                    {"ELSE"},
                    {"SET_BIT", "y"},
                    {"END_IF"},
                    {"IF_BIT_SET", "y"},
                    {"END_IF"}},
                   {{50, 11, 0, 3, 0},
                    {50, 12, 0, 2, 0},
                    {61, 0, 0, 0, 0},
                    {60, 0, 0, 5, 0},
                    {1, 13, 0, 0, 0},
                    {61, 0, 0, 0, 0},
                    {50, 13, 0, 7, 0},
                    {61, 0, 0, 0, 0}}}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(Codegen, BlocksAreNumberedInTheOrderOfTheirIfs) {
  addProgram({{"IF_BIT_SET", "a"}, {"IF_BIT_SET", "b"}, {"END_IF"}, {"END_IF"}, {"IF_BIT_SET", "c"}, {"END_IF"}});
  compiled();
  const struct {
    const char* label;
    uint32_t addr;
  } labels[] = {{"1_0", 0}, {"1_1", 3}, {"2_0", 1}, {"2_1", 2}, {"3_0", 4}, {"3_1", 5}};
  for (const auto& l : labels) EXPECT_EQ(symbol(l.label, "LABEL").addr, l.addr) << l.label;
  EXPECT_FALSE(lib.GetSymbolByName("1_2", "LABEL"));
}

TEST_F(Codegen, InstructionsAfterTheEndAreNeverRead) {
  addProgram({{"SET_BIT", "a"}, {"END_OF_PROGRAM"}, {"SET_BIT", "late"}, {"END_IF"}});
  EXPECT_EQ(compiled().size(), 1u);
  EXPECT_FALSE(lib.GetSymbolByName("late", "BIT"));
}

TEST_F(Codegen, OneSymbolPerVariableCountsItsReferencesOfOnePass) {
  lib.AddFreeRAMRange(4, 4);
  addProgram({{"SET_VARIABLE_ADD", "n", "n", "m"},
              {"INCREMENT_VARIABLE", "n"},
              {"IF_VARIABLE_LES_LITERAL", "n"},
              {"END_IF"},
              {"END_OF_PROGRAM"}});
  compiled();
  EXPECT_EQ(symbol("n", "INT"), (TSymbol{"ram_int_n", "INT", 0, 0, 4, false}));
  EXPECT_EQ(symbol("m", "INT"), (TSymbol{"ram_int_m", "INT", 1, 0, 1, false}));
  // A name used as a bit and as an integer is two symbols.
  lib.ResetCompiler(COMPILER_RESET_LEVEL_TOTAL);
  addProgram({{"SET_BIT", "n"}, {"INCREMENT_VARIABLE", "n"}, {"INCREMENT_VARIABLE", "n"}});
  compiled();
  EXPECT_EQ(symbol("n", "BIT").accessed, 1);
  EXPECT_EQ(symbol("n", "INT").accessed, 2);
}

// The order of a pass's steps shows in its trace: a body that ends on its
// ELSE or END_IF writes no exit line, its block does.
TEST_F(Codegen, NestedBlocksTraceTheirStepsInOrder) {
  lib.ResetCompiler(COMPILER_RESET_LEVEL_TRACE);
  addProgram({{"IF_BIT_SET", "a"},
              {"IF_BIT_SET", "b"},
              {"END_IF"},
              {"ELSE"},
              {"SET_BIT", "x"},
              {"END_IF"},
              {"END_OF_PROGRAM"}});
  testkit::TStdoutCapture capture;
  ASSERT_EQ(lib.StartCompile(), 0);
  std::vector<std::string> steps;
  for (const std::string& line : traceMessages(capture.Text()))
    if (line.rfind("Compile", 0) == 0 || (line.rfind("AddCodeLabelSymbol(", 0) == 0 && endsWith(line, ":")))
      steps.push_back(line);
  const std::vector<std::string> pass = {"CompileFromIntermediate(TRUE):",
                                         "AddCodeLabelSymbol(1, 0):",
                                         "AddCodeLabelSymbol(1, 1):",
                                         "CompileIfBody(1):",
                                         "CompileFromIntermediate(FALSE):",
                                         "AddCodeLabelSymbol(2, 0):",
                                         "AddCodeLabelSymbol(2, 1):",
                                         "CompileIfBody(2):",
                                         "CompileFromIntermediate(FALSE):",
                                         "AddCodeLabelSymbol(2, 1):",
                                         "CompileIfBody(2) => void",
                                         "AddCodeLabelSymbol(1, 1):",
                                         "AddCodeLabelSymbol(1, 2):",
                                         "CompileFromIntermediate(FALSE):",
                                         "AddCodeLabelSymbol(1, 2):",
                                         "CompileIfBody(1) => void",
                                         "CompileFromIntermediate(TRUE) => void"};
  std::vector<std::string> threePasses;
  for (int i = 0; i < 3; ++i) threePasses.insert(threePasses.end(), pass.begin(), pass.end());
  EXPECT_EQ(steps, threePasses);
}

namespace {

// Runs body on a thread with a stack of stackBytes, as a host with a small
// stack calls the library.
void onSmallStack(size_t stackBytes, std::function<void()> body) {
  pthread_attr_t attributes;
  ASSERT_EQ(pthread_attr_init(&attributes), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attributes, stackBytes), 0);
  pthread_t thread;
  const int started = pthread_create(
      &thread, &attributes,
      [](void* call) -> void* {
        (*static_cast<std::function<void()>*>(call))();
        return nullptr;
      },
      &body);
  pthread_attr_destroy(&attributes);
  ASSERT_EQ(started, 0);
  pthread_join(thread, nullptr);
}

// The deepest nesting of IF-ELSE blocks whose jump targets fit 16 bits: four
// records a level.
constexpr int kDeepNesting = 16384;
constexpr size_t kSmallStack = 512 * 1024;

struct TDeepCase {
  const char* what;
  std::vector<TInst> (*program)(int depth);
  std::vector<TRecord> (*records)(int depth);  // without the END record; nullptr when the compile fails
  const char* error;
};

const TDeepCase kDeepCases[] = {
    {"ifBodies",
     [](int depth) {
       std::vector<TInst> program(depth, TInst{"IF_BIT_SET", "a"});
       program.insert(program.end(), depth, TInst{"END_IF"});
       return program;
     },
     [](int depth) {
       std::vector<TRecord> records;
       for (int k = 0; k < depth; ++k) records.push_back({50, 11, 0, static_cast<uint16_t>(2 * depth - 1 - k), 0});
       records.insert(records.end(), depth, TRecord{61, 0, 0, 0, 0});
       return records;
     },
     nullptr},
    {"elseBodies",
     [](int depth) {
       std::vector<TInst> program;
       for (int k = 0; k < depth; ++k) program.insert(program.end(), {{"IF_BIT_SET", "a"}, {"SET_BIT", "x"}, {"ELSE"}});
       program.insert(program.end(), depth, TInst{"END_IF"});
       return program;
     },
     [](int depth) {
       std::vector<TRecord> records;
       for (int k = 0; k < depth; ++k) {
         records.push_back({50, 11, 0, static_cast<uint16_t>(3 * k + 2), 0});
         records.push_back({1, 12, 0, 0, 0});
         records.push_back({60, 0, 0, static_cast<uint16_t>(4 * depth - 1 - k), 0});
       }
       records.insert(records.end(), depth, TRecord{61, 0, 0, 0, 0});
       return records;
     },
     nullptr},
    {"unclosed",
     [](int depth) {
       std::vector<TInst> program(depth, TInst{"IF_BIT_SET", "a"});
       program.push_back({"END_OF_PROGRAM"});
       return program;
     },
     nullptr, "IF_xxxxx without END_IF!"},
};

}  // namespace

class DeepNesting : public Codegen, public ::testing::WithParamInterface<TDeepCase> {};

// Nesting is bounded by memory, not by the caller's stack.
TEST_P(DeepNesting, CompilesOnASmallStack) {
  for (const TFixed& f : kFixed) ASSERT_TRUE(lib.AddFixSymbol(f.name, f.type, f.addr, 9));
  addProgram(GetParam().program(kDeepNesting));
  int32_t result = -1;
  onSmallStack(kSmallStack, [&] { result = lib.StartCompile(); });
  if (!GetParam().records) {
    EXPECT_EQ(result, 1);
    EXPECT_EQ(lastError(), std::string("Could not compile (1):\n") + GetParam().error);
    return;
  }
  ASSERT_EQ(result, 0) << lastError();
  EXPECT_EQ(compiled(), GetParam().records(kDeepNesting));
}

INSTANTIATE_TEST_SUITE_P(PlcComp, DeepNesting, ::testing::ValuesIn(kDeepCases),
                         [](const auto& info) { return std::string(info.param.what); });

struct TErrorCase {
  const char* what;
  std::vector<TInst> program;
  const char* text;
  const char* traceLine;  // the abort trace line before the error, or nullptr
};

class CompileErrors : public Compiler, public ::testing::WithParamInterface<TErrorCase> {};

TEST_P(CompileErrors, EndTheCompileWithCodeOne) {
  lib.ResetCompiler(COMPILER_RESET_LEVEL_DEBUG);
  addProgram(GetParam().program);
  testkit::TStdoutCapture capture;
  EXPECT_EQ(lib.StartCompile(), 1);
  const std::string out = capture.Text();
  EXPECT_EQ(lastError(), std::string("Could not compile (1):\n") + GetParam().text);
  const auto traces = traceMessages(out);
  if (GetParam().traceLine) {
    EXPECT_TRUE(hasLine(traces, GetParam().traceLine)) << out;
  }
  EXPECT_TRUE(hasLine(traces, std::string("AbortCompile(1, \"") + GetParam().text + "\")"));
  EXPECT_EQ(traces.back(), "StartCompile() => EXITCODE_ERROR(=1)");
  const auto debug = debugLines(out);
  EXPECT_TRUE(hasLine(debug, "Aborted compile (Error code=1):"));
  EXPECT_TRUE(hasLine(debug, std::string("Additional info:'") + GetParam().text + "'"));
  EXPECT_FALSE(lib.GetFirstByte());
}

INSTANTIATE_TEST_SUITE_P(
    PlcComp, CompileErrors,
    ::testing::Values(
        TErrorCase{"emptyProgram", {}, "Early termination of program", "CompileFromIntermediate(TRUE) => AbortCompile"},
        TErrorCase{"eeprom",
                   {{"EEPROM_READ", "v", nullptr, nullptr, 2}, {"END_OF_PROGRAM"}},
                   "Unsupported op (anything ADC, PWM, UART, EEPROM) for bytecode target.",
                   nullptr},
        TErrorCase{"eepromInBlock",
                   {{"IF_BIT_SET", "a"}, {"EEPROM_BUSY_CHECK", "b"}, {"END_IF"}},
                   "Unsupported op (anything ADC, PWM, UART, EEPROM) for bytecode target.",
                   nullptr},
        TErrorCase{"ifLast",
                   {{"SET_BIT", "a"}, {"IF_BIT_SET", "a"}},
                   "IF is the last instruction. Needed END_IF",
                   "CompileIfBody(1) => AbortCompile"},
        TErrorCase{"elseLast",
                   {{"IF_BIT_SET", "a"}, {"SET_BIT", "a"}, {"ELSE"}},
                   "Premature end of code. Needed END_IF",
                   "CompileIfBody(1) => AbortCompile"},
        TErrorCase{"openBlockAtEnd",
                   {{"IF_BIT_SET", "a"}, {"SET_BIT", "a"}, {"END_OF_PROGRAM"}},
                   "IF_xxxxx without END_IF!",
                   "CompileFromIntermediate(): local variable 'if_nest_counter'(=1) nonzero"},
        TErrorCase{"openBlockAtListEnd",
                   {{"IF_BIT_SET", "a"}, {"IF_BIT_SET", "b"}, {"END_IF"}, {"SET_BIT", "a"}},
                   "IF_xxxxx without END_IF!",
                   "CompileFromIntermediate(FALSE) => AbortCompile"},
        TErrorCase{"loneEndIf",
                   {{"SET_BIT", "a"}, {"END_IF"}, {"END_OF_PROGRAM"}},
                   "END_IF without IF_xxxxx!",
                   "CompileFromIntermediate(TRUE) => AbortCompile"},
        TErrorCase{"strayElse",
                   {{"SET_BIT", "a"}, {"ELSE"}, {"CLEAR_BIT", "a"}, {"END_OF_PROGRAM"}},
                   "ELSE without IF_xxxxx!",
                   "CompileFromIntermediate(TRUE) => AbortCompile"},
        TErrorCase{"strayElseAfterBlock",
                   {{"IF_BIT_SET", "a"}, {"END_IF"}, {"ELSE"}, {"END_IF"}, {"END_OF_PROGRAM"}},
                   "ELSE without IF_xxxxx!",
                   "CompileFromIntermediate(TRUE) => AbortCompile"},
        TErrorCase{"secondElse",
                   {{"IF_BIT_SET", "a"},
                    {"SET_BIT", "x"},
                    {"ELSE"},
                    {"SET_BIT", "y"},
                    {"ELSE"},
                    {"END_IF"},
                    {"END_OF_PROGRAM"}},
                   "Second ELSE in one IF_xxxxx block!",
                   "CompileIfBody(1) => AbortCompile"}),
    [](const auto& info) { return std::string(info.param.what); });
