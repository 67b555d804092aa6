// The CSV dumps of the byte code, the symbol table and the intermediate program.
#include <cstdio>
#include <string>
#include <vector>

#include "plccomp_fixture.h"

namespace {

using TDump = bool (*)(const char*);

const char* const kIntcodeTableHeader = "\n\n\n\n\n\n\n\nOpID;Op;name1;name2;name3;literal";

}  // namespace

class Dumps : public Compiler {
 protected:
  std::string dumped(TDump dump) {
    const std::string path = dir.File("dump.csv");
    EXPECT_TRUE(dump(path.c_str()));
    return testkit::ReadText(path);
  }

  testkit::TTempDir dir;
};

TEST_F(Dumps, EmptyTablesGiveTheHeaderOnly) {
  EXPECT_EQ(dumped(lib.d_dumpPICcode), "label;OpID;Op;name1;name2;name3;literal");
  EXPECT_EQ(dumped(lib.d_dumpSymbols), "name;addr;bit;accessed;fixed");
  EXPECT_EQ(dumped(lib.d_dumpIntcode), kIntcodeTableHeader);
}

TEST_F(Dumps, ByteCodeRowsShowLabelsOperandsAndSignedLiterals) {
  addProgram({{"IF_VARIABLE_LES_LITERAL", "level", nullptr, nullptr, 100},
              {"SET_BIT", "pump"},
              {"ELSE"},
              {"SET_VARIABLE_TO_LITERAL", "level", nullptr, nullptr, -1},
              {"END_IF"},
              {"END_OF_PROGRAM"}});
  lib.AddFreeRAMRange(1, 1);
  ASSERT_EQ(lib.StartCompile(), 0);
  const auto bytes = image();
  ASSERT_EQ(bytes.size(), 60u);
  const int crc = static_cast<int16_t>(bytes[58] | bytes[59] << 8);
  EXPECT_EQ(dumped(lib.d_dumpPICcode),
            "label;OpID;Op;name1;name2;name3;literal"
            "\n\"lbl_1_0\";52;\"IF_VARIABLE_LES_LITERAL\";0;0;2;100"
            "\n\"\";1;\"SET_BIT\";0;0;0;0"
            "\n\"lbl_1_1\";60;\"ELSE\";0;0;4;0"
            "\n\"\";4;\"SET_VARIABLE_TO_LITERAL\";0;0;0;-1"
            "\n\"lbl_1_2\";61;\"END_IF\";0;0;0;0"
            "\n\"\";255;\"END_OF_PROGRAM\";28;0;16739;" +
                std::to_string(crc));
}

TEST_F(Dumps, SymbolRowsShowTheAddressInEightHexDigits) {
  ASSERT_TRUE(lib.AddFixSymbol("Speed", "INT", 208, 3));
  addProgram({{"SET_BIT", "a"}, {"SET_BIT", "a"}, {"END_OF_PROGRAM"}});
  ASSERT_EQ(lib.StartCompile(), 0);
  EXPECT_EQ(dumped(lib.d_dumpSymbols),
            "name;addr;bit;accessed;fixed"
            "\n\"ram_bit_a\";0x00000000;0;2;FALSE"
            "\n\"ram_int_Speed\";0x000000D0;3;0;TRUE");
  // The walk goes in the same order.
  const auto table = symbols();
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(table[0].name, "ram_bit_a");
}

TEST_F(Dumps, IntermediateListingIndentsBlocksAndTableFollows) {
  addProgram({{"COMMENT", "not kept"},
              {"IF_BIT_SET", "door"},
              {"SET_PWM", "d", "f", "c", 0},
              {"IF_VARIABLE_GRT_VARIABLE", "a", "b"},
              {"SET_PWM", "d", "f", "c", 1},
              {"ELSE"},
              {"SIMULATE_NODE_STATE", nullptr, nullptr, nullptr, -1},
              {"END_IF"},
              {"END_IF"},
              {"END_IF"},
              {"SET_VARIABLE_TO_LITERAL", "v", nullptr, nullptr, -1},
              {"END_OF_PROGRAM"}});
  EXPECT_EQ(dumped(lib.d_dumpIntcode),
            "  1:/*  */\n"
            "  2:if 'door' {\n"
            "  3:    set pwm channel 'c' duty as 'd' 'f' Hz PWM type:FAST\n"
            "  4:    if 'a' > 'b' {\n"
            "  5:        set pwm channel 'c' duty as 'd' 'f' Hz PWM type:SLOW\n"
            "  6:    } else {\n"
            "  7:        \n"
            "  8:    }\n"
            "  9:}\n"
            " 10:}\n"
            " 11:let var 'v' := -1\n"
            " 12:------- end of program -------\n" +
                std::string(kIntcodeTableHeader) +
                "\n100;\"COMMENT\";\"\";\"\";\"\";0"
                "\n50;\"IF_BIT_SET\";\"door\";\"\";\"\";0"
                "\n12;\"SET_PWM\";\"d\";\"f\";\"c\";0"
                "\n54;\"IF_VARIABLE_GRT_VARIABLE\";\"a\";\"b\";\"\";0"
                "\n12;\"SET_PWM\";\"d\";\"f\";\"c\";1"
                "\n60;\"ELSE\";\"\";\"\";\"\";0"
                "\n80;\"SIMULATE_NODE_STATE\";\"\";\"\";\"\";-1"
                "\n61;\"END_IF\";\"\";\"\";\"\";0"
                "\n61;\"END_IF\";\"\";\"\";\"\";0"
                "\n61;\"END_IF\";\"\";\"\";\"\";0"
                "\n4;\"SET_VARIABLE_TO_LITERAL\";\"v\";\"\";\"\";-1"
                "\n255;\"END_OF_PROGRAM\";\"\";\"\";\"\";0");
}

struct TListingCase {
  const char* what;
  TInst instruction;
  const char* line;
};

class ListingTexts : public Dumps, public ::testing::WithParamInterface<TListingCase> {};

TEST_P(ListingTexts, NameTheOperands) {
  addProgram({GetParam().instruction});
  const std::string text = dumped(lib.d_dumpIntcode);
  EXPECT_EQ(text.substr(0, text.find('\n')), std::string("  1:") + GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    PlcComp, ListingTexts,
    ::testing::Values(
        TListingCase{"setBit", {"SET_BIT", "x"}, "set bit 'x'"},
        TListingCase{"clearBit", {"CLEAR_BIT", "x"}, "clear bit 'x'"},
        TListingCase{"copyBit", {"COPY_BIT_TO_BIT", "x", "y"}, "let bit 'x' := 'y'"},
        TListingCase{"literal", {"SET_VARIABLE_TO_LITERAL", "v", nullptr, nullptr, 42}, "let var 'v' := 42"},
        TListingCase{"copyVariable", {"SET_VARIABLE_TO_VARIABLE", "v", "w"}, "let var 'v' := 'w'"},
        TListingCase{"increment", {"INCREMENT_VARIABLE", "v"}, "increment 'v'"},
        TListingCase{"add", {"SET_VARIABLE_ADD", "r", "p", "q"}, "let var 'r' := 'p' + 'q'"},
        TListingCase{"subtract", {"SET_VARIABLE_SUBTRACT", "r", "p", "q"}, "let var 'r' := 'p' - 'q'"},
        TListingCase{"multiply", {"SET_VARIABLE_MULTIPLY", "r", "p", "q"}, "let var 'r' := 'p' * 'q'"},
        TListingCase{"divide", {"SET_VARIABLE_DIVIDE", "r", "p", "q"}, "let var 'r' := 'p' / 'q'"},
        TListingCase{"adc", {"READ_ADC", "v", nullptr, nullptr, 3}, "read adc 'v'"},
        TListingCase{"uartSend", {"UART_SEND", "v", "done"}, "uart send from 'v', done? into 'done'"},
        TListingCase{"uartRecv", {"UART_RECV", "v", "have"}, "uart recv int 'v', have? into 'have'"},
        TListingCase{"eepromBusy", {"EEPROM_BUSY_CHECK", "b"}, "set bit 'b' if EEPROM busy"},
        TListingCase{"eepromRead", {"EEPROM_READ", "v", nullptr, nullptr, 16}, "read EEPROM[16,16+1] into 'v'"},
        TListingCase{"eepromWrite", {"EEPROM_WRITE", "v", nullptr, nullptr, -2}, "write 'v' into EEPROM[-2,-2+1]"},
        TListingCase{"ifClear", {"IF_BIT_CLEAR", "x"}, "if not 'x' {"},
        TListingCase{"ifLess", {"IF_VARIABLE_LES_LITERAL", "v", nullptr, nullptr, -7}, "if 'v' < -7 {"},
        TListingCase{"ifEqual", {"IF_VARIABLE_EQUALS_VARIABLE", "v", "w"}, "if 'v' == 'w' {"},
        TListingCase{"elseAtDepthZero", {"ELSE"}, "} else {"}, TListingCase{"endIfAtDepthZero", {"END_IF"}, "}"}),
    [](const auto& info) { return std::string(info.param.what); });

struct TDumpFailureCase {
  const char* what;
  const char* routine;
  const char* couldNot;  // the table's name in the texts of an unopenable or unwritable file
};

class DumpFailures : public Dumps, public ::testing::WithParamInterface<TDumpFailureCase> {
 protected:
  TDump routine() {
    const std::string name = GetParam().routine;
    return name == "d_dumpPICcode"   ? lib.d_dumpPICcode
           : name == "d_dumpSymbols" ? lib.d_dumpSymbols
                                     : lib.d_dumpIntcode;
  }
};

TEST_P(DumpFailures, RefuseBadNamesAndUnopenableFiles) {
  lib.ResetCompiler(COMPILER_RESET_LEVEL_DEBUG);
  const std::string name = GetParam().routine;
  const std::string missing = dir.File("no-such-folder/dump.csv");
  testkit::TStdoutCapture capture;
  EXPECT_FALSE(routine()(nullptr));
  EXPECT_FALSE(routine()(""));
  EXPECT_FALSE(routine()(missing.c_str()));
  const auto traces = traceMessages(capture.Text());
  const std::vector<std::string> expected = {
      name + "(NULL):",
      name + "(): parameter fileNameAndPath == NULL!",
      name + "(NULL) => FALSE",
      name + "(\"\"):",
      name + "(): parameter fileNameAndPath == \"\"!",
      name + "(\"\") => FALSE",
      name + "(\"" + missing + "\"):",
      name + "(): Couldn't dump " + GetParam().couldNot + " to \"" + missing + "\".",
      name + "(\"" + missing + "\") => FALSE"};
  EXPECT_EQ(traces, expected);
  EXPECT_EQ(lastError(), "");
}

// /dev/full opens and refuses every write. With empty tables the byte-code
// and intermediate dumps write only at the close; with rows, the first row
// fails.
TEST_P(DumpFailures, AnswerFalseWhenARowOrTheCloseFails) {
  const char* const full = "/dev/full";
  if (std::FILE* probe = std::fopen(full, "w"))
    std::fclose(probe);
  else
    GTEST_SKIP() << "no " << full << " here";
  lib.ResetCompiler(COMPILER_RESET_LEVEL_DEBUG);
  const std::string name = GetParam().routine;
  const std::vector<std::string> expected = {
      name + "(\"" + full + "\"):", name + "(): Couldn't write " + GetParam().couldNot + " to \"" + full + "\".",
      name + "(\"" + full + "\") => FALSE"};
  {
    testkit::TStdoutCapture capture;
    EXPECT_FALSE(routine()(full));
    EXPECT_EQ(traceMessages(capture.Text()), expected);
  }
  {
    testkit::TStdoutCapture quiet;
    addProgram({{"SET_BIT", "a"}, {"END_OF_PROGRAM"}});
    ASSERT_EQ(lib.StartCompile(), 0);
  }
  testkit::TStdoutCapture capture;
  EXPECT_FALSE(routine()(full));
  EXPECT_EQ(traceMessages(capture.Text()), expected);
  EXPECT_EQ(lastError(), "");
}

INSTANTIATE_TEST_SUITE_P(PlcComp, DumpFailures,
                         ::testing::Values(TDumpFailureCase{"byteCode", "d_dumpPICcode", "PIC code"},
                                           TDumpFailureCase{"symbols", "d_dumpSymbols", "Symbols code"},
                                           TDumpFailureCase{"intermediate", "d_dumpIntcode", "PIC code"}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST_F(Dumps, SecondDumpOverwritesTheFile) {
  ASSERT_TRUE(lib.AddFixSymbol("a", "BIT", 1, 0));
  EXPECT_NE(dumped(lib.d_dumpSymbols), "name;addr;bit;accessed;fixed");
  lib.ResetCompiler(COMPILER_RESET_LEVEL_TOTAL);
  EXPECT_EQ(dumped(lib.d_dumpSymbols), "name;addr;bit;accessed;fixed");
}

TEST_F(Dumps, IntakeKeepsAcceptedRecordsInOrderAndDropsIgnoredNames) {
  addProgram({{"SET_BIT", "first"}});
  ASSERT_FALSE(lib.AddHighLevelInstruction("SET_BIT", "x", "y", nullptr, 0));
  addProgram({{"COPY_BIT_TO_BIT", "a", "b", "", 9},
              {"COMMENT", "text", "more", "most"},
              {"SIMULATE_NODE_STATE", "n1", "n2", "n3", -3},
              {"END_OF_PROGRAM", nullptr, nullptr, nullptr, 7}});
  const std::string text = dumped(lib.d_dumpIntcode);
  EXPECT_EQ(text.substr(text.find("OpID;")),
            "OpID;Op;name1;name2;name3;literal"
            "\n1;\"SET_BIT\";\"first\";\"\";\"\";0"
            "\n3;\"COPY_BIT_TO_BIT\";\"a\";\"b\";\"\";9"
            "\n100;\"COMMENT\";\"\";\"\";\"\";0"
            "\n80;\"SIMULATE_NODE_STATE\";\"\";\"\";\"\";-3"
            "\n255;\"END_OF_PROGRAM\";\"\";\"\";\"\";7");
}
