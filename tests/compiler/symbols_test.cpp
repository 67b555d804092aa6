// Fixed symbols, their refusals, the internal-error path and the lookups.
#include <string>
#include <vector>

#include "plccomp_fixture.h"

namespace {

const std::string k248(248, 's');
const std::string k249(249, 's');

}  // namespace

struct TFixCase {
  const char* what;
  const char* name;
  const char* type;
  const char* error;      // nullptr: accepted
  const char* debugLine;  // first line of the refusal's debug output
  const char* traceLine;
  uint32_t addr = 5;
  uint32_t bit = 3;
};

class FixSymbols : public PlcComp, public ::testing::WithParamInterface<TFixCase> {};

TEST_P(FixSymbols, AreRefusedInArgumentOrder) {
  const auto& c = GetParam();
  testkit::TStdoutCapture capture;
  const bool accepted = lib.AddFixSymbol(c.name, c.type, c.addr, c.bit);
  const std::string out = capture.Text();
  if (!c.error) {
    EXPECT_TRUE(accepted);
    EXPECT_EQ(lastError(), "");
    return;
  }
  EXPECT_FALSE(accepted);
  EXPECT_EQ(lastError(), c.error);
  EXPECT_TRUE(hasLineStartingWith(debugLines(out), c.debugLine)) << out;
  EXPECT_TRUE(hasLine(traceMessages(out), c.traceLine)) << out;
  // A refusal leaves the table as it was.
  EXPECT_FALSE(lib.GetSymbolByInternalName(("ram_int_" + std::string(c.name ? c.name : "")).c_str()));
}

INSTANTIATE_TEST_SUITE_P(
    PlcComp, FixSymbols,
    ::testing::Values(
        TFixCase{"int", "Speed", "INT", nullptr, nullptr, nullptr},
        TFixCase{"bit", "Start", "BIT", nullptr, nullptr, nullptr},
        TFixCase{"name248", k248.c_str(), "INT", nullptr, nullptr, nullptr},
        TFixCase{"nullName", nullptr, "INT", "NULL assignment attempt to 'name in AddFixSymbol' function",
                 "AddFixSymbol(): name is NULL ", "AddFixSymbol(NULL, ...) => FALSE"},
        TFixCase{"bothNull", nullptr, nullptr, "NULL assignment attempt to 'name in AddFixSymbol' function",
                 "AddFixSymbol(): name is NULL ", "AddFixSymbol(NULL, ...) => FALSE"},
        TFixCase{"nullType", "a", nullptr, "NULL assignment attempt to 'symType in AddFixSymbol' function",
                 "AddFixSymbol(): symType is NULL", "AddFixSymbol(\"a\", NULL, ...) => FALSE"},
        TFixCase{"nullBeforeEmpty", "", nullptr, "NULL assignment attempt to 'symType in AddFixSymbol' function",
                 "AddFixSymbol(): symType is NULL", "AddFixSymbol(\"\", NULL, ...) => FALSE"},
        TFixCase{"emptyName", "", "INT", "Parameter error (name='')", "AddFixSymbol(): name is <ZERO LENGTH>",
                 "AddFixSymbol(\"\", \"INT\", 0x5, 0x3) => FALSE"},
        TFixCase{"emptyType", "a", "", "Parameter error (symType='')", "AddFixSymbol(): symType is <ZERO LENGTH>",
                 "AddFixSymbol(\"a\", \"\", 0x5, 0x3) => FALSE"},
        TFixCase{"lowerCaseType", "a", "int", "Unrecognized statement 'int'",
                 "AddFixSymbol(): symType 'int' is unrecognized", "AddFixSymbol(\"a\", \"int\", 0x5, 0x3) => FALSE"},
        TFixCase{"mixedCaseType", "a", "Int", "Unrecognized statement 'Int'",
                 "AddFixSymbol(): symType 'Int' is unrecognized", "AddFixSymbol(\"a\", \"Int\", 0x5, 0x3) => FALSE"},
        TFixCase{"trailingBlankType", "a", "INT ", "Unrecognized statement 'INT '",
                 "AddFixSymbol(): symType 'INT ' is unrecognized", "AddFixSymbol(\"a\", \"INT \", 0x5, 0x3) => FALSE"},
        TFixCase{"name249", k249.c_str(), "INT", "Compiler internal error code: <no additional info>",
                 "Error in COMPILER BYTECODE v. 0.9 at line ", "AddFixSymbol() Exiting due to oops(1) => FALSE"},
        TFixCase{"addrPast16Bits", "a", "INT", "Parameter error (addr=0x10000): does not fit 16 bits",
                 "AddFixSymbol(): addr 0x10000 does not fit 16 bits",
                 "AddFixSymbol(\"a\", \"INT\", 0x65536, 0x3) => FALSE", 0x10000, 3},
        TFixCase{"bitPast16Bits", "a", "INT", "Parameter error (bit=0x10000): does not fit 16 bits",
                 "AddFixSymbol(): bit 0x10000 does not fit 16 bits",
                 "AddFixSymbol(\"a\", \"INT\", 0x5, 0x65536) => FALSE", 5, 0x10000},
        TFixCase{"typeBeforeWidth", "a", "int", "Unrecognized statement 'int'",
                 "AddFixSymbol(): symType 'int' is unrecognized", "AddFixSymbol(\"a\", \"int\", 0x65536, 0x3) => FALSE",
                 0x10000, 3}),
    [](const auto& info) { return std::string(info.param.what); });

// The address goes into the records whole; one that does not fit is refused
// before it can replace an earlier declaration.
TEST_F(Compiler, FixedAddressesKeepTheirSixteenBits) {
  ASSERT_TRUE(lib.AddFixSymbol("top", "BIT", 0xFFFF, 0xFFFF));
  EXPECT_FALSE(lib.AddFixSymbol("top", "BIT", 0x12345, 0));
  addProgram({{"SET_BIT", "top"}, {"END_OF_PROGRAM"}});
  ASSERT_EQ(lib.StartCompile(), 0) << lastError();
  const auto bytes = image();
  ASSERT_GE(bytes.size(), 10u);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 10), bytesOf("01 00 FF FF 00 00 00 00 00 00"));
  EXPECT_EQ(symbol("top", "BIT"), (TSymbol{"ram_bit_top", "BIT", 0xFFFF, 0xFFFF, 1, true}));
}

TEST_F(PlcComp, InternalErrorUnwindsThroughTheGuardToTheExport) {
  lib.ResetCompiler(COMPILER_RESET_LEVEL_TRACE_FULL);
  testkit::TStdoutCapture capture;
  EXPECT_FALSE(lib.AddFixSymbol(k249.c_str(), "BIT", 1, 0));
  const std::string out = capture.Text();
  const auto traces = traceMessages(out);
  const std::vector<std::string> unwinding = {
      "addSymbol():Parameter check for 'name' failed: length(257) ; limit: (256)",
      "addSymbol(\"ram_bit_" + k249.substr(0, 249) + "\") => ErrorAbort",
      "ErrorAbort(...):",
      "ErrorAbort(...): --> longjmp",
      "SafeLongJmp(FALSE, 1):",
      "SafeLongJmp(): Situation: real jump",
      "SafeLongJmp(TRUE, 2):",
      "SafeLongJmp(): Situation: first call, setting tracable jmpbuf",
      "SafeLongJmp() => void",
      "SafeLongJmp(): Executing jump",
      "AddFixSymbol() Exiting due to oops(1) => FALSE"};
  ASSERT_GE(traces.size(), unwinding.size());
  EXPECT_EQ(std::vector<std::string>(traces.end() - unwinding.size(), traces.end()), unwinding);
  const auto debug = debugLines(out);
  const std::vector<std::string> report = {"Error in COMPILER BYTECODE v. 0.9 at line",
                                           "Additional info:", "<no additional info>"};
  bool found = false;
  for (size_t i = 0; i + 2 < debug.size(); ++i)
    if (debug[i].rfind(report[0], 0) == 0) {
      found = true;
      EXPECT_TRUE(endsWith(debug[i], " in source file 'symbols.cpp'")) << debug[i];
      EXPECT_EQ(debug[i + 1], report[1]);
      EXPECT_EQ(debug[i + 2], report[2]);
    }
  EXPECT_TRUE(found) << out;
  // The frame was left cleanly: the next calls work and the text stays.
  EXPECT_TRUE(lib.AddFixSymbol("ok", "BIT", 1, 0));
  EXPECT_EQ(lastError(), "Compiler internal error code: <no additional info>");
}

TEST_F(PlcComp, FixSymbolFindsTheRecordOfAnEarlierDeclaration) {
  ASSERT_TRUE(lib.AddFixSymbol("Speed", "INT", 40, 0));
  testkit::TStdoutCapture capture;
  ASSERT_TRUE(lib.AddFixSymbol("Speed", "INT", 41, 7));
  ASSERT_TRUE(lib.AddFixSymbol("Speed", "BIT", 41, 7));
  const auto traces = traceMessages(capture.Text());
  EXPECT_TRUE(hasLine(traces, "addSymbol(ram_int_Speed) exists => ExistingSym"));
  EXPECT_TRUE(hasLine(traces, "addSymbol(\"ram_bit_Speed\") new Symbol Added => @\"ram_bit_Speed\""));
  EXPECT_TRUE(hasLine(traces, "AddFixSymbol(\"Speed\", \"INT\", 0x41, 0x7) => TRUE"));
}

TEST_F(PlcComp, LookupsComposeTheInternalNameOfTheType) {
  ASSERT_TRUE(lib.AddFixSymbol("Speed", "INT", 40, 0));
  ASSERT_TRUE(lib.AddFixSymbol("Start", "BIT", 5, 3));
  EXPECT_TRUE(lib.GetSymbolByName("Speed", "INT"));
  EXPECT_TRUE(lib.GetSymbolByName("Start", "BIT"));
  EXPECT_FALSE(lib.GetSymbolByName("Speed", "BIT"));
  EXPECT_FALSE(lib.GetSymbolByName("Speed", "BYTE"));
  EXPECT_FALSE(lib.GetSymbolByName("Speed", "int"));
  EXPECT_FALSE(lib.GetSymbolByName(std::string(300, 'S').c_str(), "INT"));
  EXPECT_TRUE(lib.GetSymbolByInternalName("ram_int_Speed"));
  EXPECT_FALSE(lib.GetSymbolByInternalName("Speed"));
  EXPECT_EQ(lastError(), "");
}

struct TLookupCase {
  const char* what;
  const char* name;
  const char* type;
  std::vector<std::string> debug;
  std::vector<std::string> traces;
};

class LookupRefusals : public PlcComp, public ::testing::WithParamInterface<TLookupCase> {};

TEST_P(LookupRefusals, NameEachBadArgument) {
  const auto& c = GetParam();
  testkit::TStdoutCapture capture;
  EXPECT_FALSE(lib.GetSymbolByName(c.name, c.type));
  const std::string out = capture.Text();
  EXPECT_EQ(debugLines(out), c.debug);
  EXPECT_EQ(traceMessages(out), c.traces);
  EXPECT_EQ(lastError(), "");
}

INSTANTIATE_TEST_SUITE_P(
    PlcComp, LookupRefusals,
    ::testing::Values(
        TLookupCase{"nullName",
                    nullptr,
                    "INT",
                    {"GetSymbolByName(): Null pointer detected. (1)"},
                    {"GetSymbolByName(NULL, \"INT\"):", "GetSymbolByName(): parameter 'name'(=NULL) is NULL",
                     "GetSymbolByName(NULL, \"INT\") => FALSE"}},
        TLookupCase{"emptyNameNullType",
                    "",
                    nullptr,
                    {"GetSymbolRecordFromName(): <ZERO LENGTH> parameter! (1)",
                     "GetSymbolByName(): Null pointer detected. (2)"},
                    {"GetSymbolByName(\"\", NULL):", "GetSymbolByName(): parameter 'name'(=\"\") ZERO LENGTH",
                     "GetSymbolByName(): parameter 'type'(=NULL) is NULL", "GetSymbolByName(\"\", NULL) => FALSE"}},
        TLookupCase{"emptyType",
                    "a",
                    "",
                    {"GetSymbolRecordFromName(): <ZERO LENGTH> parameter! (2)"},
                    {"GetSymbolByName(\"a\", \"\"):", "GetSymbolByName(): parameter 'type'(=\"\") ZERO LENGTH",
                     "GetSymbolByName(\"a\", \"\") => FALSE"}},
        TLookupCase{"unknownType",
                    "a",
                    "bit",
                    {"GetSymbolByName(): Symbol type not recognized!"},
                    {"GetSymbolByName(\"a\", \"bit\"):", "GetSymbolByName(\"a\", \"bit\") => FALSE"}},
        TLookupCase{"notFound",
                    "a",
                    "LABEL",
                    {},
                    {"GetSymbolByName(\"a\", \"LABEL\"):", "GetSymbolByName(): type recognized as 'LABEL'",
                     "GetSymbolByName(): Searching for symbol \"lbl_a\"", "GetSymbolByInternalName(\"lbl_a\"):",
                     "GetSymbolByInternalName(\"lbl_a\") => FALSE", "GetSymbolByName(\"a\", \"LABEL\") => FALSE"}}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(PlcComp, InternalNameLookupRefusesNullAndEmpty) {
  for (const char* name : {static_cast<const char*>(nullptr), ""}) {
    testkit::TStdoutCapture capture;
    EXPECT_FALSE(lib.GetSymbolByInternalName(name));
    const std::string out = capture.Text();
    EXPECT_EQ(debugLines(out), std::vector<std::string>{"GetSymbolByInternalName(): NULL pointer detected. (1)"});
    EXPECT_TRUE(hasLine(traceMessages(out), "GetSymbolByInternalName(): parameter 'name' == NULL or \"\"!"));
  }
}

TEST_F(PlcComp, DetailTracingShowsEveryComparisonOfTheScan) {
  lib.ResetCompiler((0x0004 << 8) | COMPILER_RESET_LEVEL_TRACE_MASK);
  for (const char* name : {"a", "b", "c"}) ASSERT_TRUE(lib.AddFixSymbol(name, "INT", 1, 0));
  testkit::TStdoutCapture capture;
  EXPECT_TRUE(lib.GetSymbolByInternalName("ram_int_c"));
  EXPECT_FALSE(lib.GetSymbolByInternalName("ram_int_d"));
  std::vector<std::string> compared;
  for (const std::string& line : traceMessages(capture.Text()))
    if (line.rfind("strcmpnull(", 0) == 0) compared.push_back(line.substr(0, line.find(" => ")));
  const std::vector<std::string> expected = {
      "strcmpnull(\"ram_int_a\", \"ram_int_c\")", "strcmpnull(\"ram_int_b\", \"ram_int_c\")",
      "strcmpnull(\"ram_int_c\", \"ram_int_c\")", "strcmpnull(\"ram_int_a\", \"ram_int_d\")",
      "strcmpnull(\"ram_int_b\", \"ram_int_d\")", "strcmpnull(\"ram_int_c\", \"ram_int_d\")"};
  EXPECT_EQ(compared, expected);
}
