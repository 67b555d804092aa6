// The walk over the symbol table and the getters of the current symbol.
#include <algorithm>
#include <vector>

#include "plccomp_fixture.h"

namespace {

const TSymbol kNoSymbol{"", "????", 0, 0xFFFFFFFF, 0, false};

}  // namespace

TEST_F(PlcComp, GettersWithoutCurrentSymbolGiveTheirDefaults) {
  testkit::TStdoutCapture capture;
  EXPECT_EQ(currentSymbol(), kNoSymbol);
  const std::string out = capture.Text();
  const auto debug = debugLines(out);
  const auto traces = traceMessages(out);
  for (const std::string getter : {"GetCurrentSymbolName", "GetCurrentSymbolType", "GetCurrentSymbolAddr",
                                   "GetCurrentSymbolBitID", "GetCurrentSymbolAccess", "IsCurrentSymbolFixed"}) {
    EXPECT_TRUE(hasLine(debug, getter + "(): NULL pointer detected.")) << getter;
    EXPECT_TRUE(hasLine(traces, getter + "(): global variable 'dll_curr_symbol' == NULL!")) << getter;
  }
  for (const char* exitLine :
       {"GetCurrentSymbolName() => \"\"", "GetCurrentSymbolType() => \"????\"", "GetCurrentSymbolAddr() => 0",
        "GetCurrentSymbolBitID() => -1", "GetCurrentSymbolAccess() => 0", "IsCurrentSymbolFixed() => FALSE"})
    EXPECT_TRUE(hasLine(traces, exitLine)) << exitLine;
}

TEST_F(PlcComp, WalkStartsByItselfWhenTheCursorWasNeverPlaced) {
  ASSERT_TRUE(lib.AddFixSymbol("a", "INT", 5, 3));
  ASSERT_TRUE(lib.AddFixSymbol("b", "BIT", 6, 0));
  testkit::TStdoutCapture capture;
  EXPECT_TRUE(lib.GetNextSymbol());
  EXPECT_TRUE(hasLine(traceMessages(capture.Text()), "GetNextSymbol(): Seeking to first symbol"));
  EXPECT_EQ(currentSymbol(), (TSymbol{"ram_int_a", "INT", 5, 3, 1, true}));
  EXPECT_TRUE(lib.GetNextSymbol());
  EXPECT_EQ(currentSymbol(), (TSymbol{"ram_bit_b", "BIT", 6, 0, 1, true}));
}

TEST_F(Compiler, WalkOfOneRecordEndsAndKeepsItCurrent) {
  ASSERT_TRUE(lib.AddFixSymbol("only", "BIT", 2, 1));
  const TSymbol only{"ram_bit_only", "BIT", 2, 1, 1, true};
  EXPECT_TRUE(lib.GetFirstSymbol());
  EXPECT_FALSE(lib.GetNextSymbol());
  EXPECT_EQ(currentSymbol(), only);
  EXPECT_FALSE(lib.GetNextSymbol());
  EXPECT_EQ(currentSymbol(), only);
}

TEST_F(Compiler, EmptyTableHasNoCurrentSymbol) {
  EXPECT_FALSE(lib.GetFirstSymbol());
  EXPECT_FALSE(lib.GetNextSymbol());
  EXPECT_EQ(currentSymbol(), kNoSymbol);
  EXPECT_FALSE(lib.GetSymbolByName("x", "INT"));
  // The first record appended stands at position 0, so it is current.
  ASSERT_TRUE(lib.AddFixSymbol("x", "INT", 9, 0));
  EXPECT_EQ(currentSymbol().name, "ram_int_x");
}

TEST_F(Compiler, LookupsPlaceTheCursorAndTheWalkGoesOnFromThere) {
  for (const char* name : {"a", "b", "c"}) ASSERT_TRUE(lib.AddFixSymbol(name, "INT", 1, 0));
  ASSERT_TRUE(lib.GetSymbolByName("b", "INT"));
  ASSERT_TRUE(lib.GetNextSymbol());
  EXPECT_EQ(currentSymbol().name, "ram_int_c");
  EXPECT_FALSE(lib.GetSymbolByName("a", "BIT"));
  EXPECT_EQ(currentSymbol().name, "ram_int_c");
  ASSERT_TRUE(lib.GetSymbolByInternalName("ram_int_a"));
  ASSERT_TRUE(lib.GetNextSymbol());
  EXPECT_EQ(currentSymbol().name, "ram_int_b");
}

TEST_F(Compiler, TotalResetLeavesNoSymbolAtAll) {
  ASSERT_TRUE(lib.AddFixSymbol("kept", "INT", 1, 0));
  addProgram({{"SET_BIT", "a"}, {"END_OF_PROGRAM"}});
  ASSERT_EQ(lib.StartCompile(), 0);
  lib.ResetCompiler(COMPILER_RESET_LEVEL_TOTAL);
  EXPECT_TRUE(symbols().empty());
  EXPECT_EQ(currentSymbol(), kNoSymbol);
  EXPECT_EQ(lastError(), "");
}

// The table's own example: fixed symbols, a compiled program, lookups.
TEST_F(Compiler, FixedSymbolsThroughACompile) {
  ASSERT_TRUE(lib.AddFixSymbol("Start", "BIT", 5, 3));
  ASSERT_TRUE(lib.AddFixSymbol("Speed", "INT", 40, 0));
  ASSERT_TRUE(lib.AddFixSymbol("Speed", "INT", 41, 7));
  ASSERT_FALSE(lib.AddFixSymbol("Speed", "WORD", 1, 0));
  EXPECT_EQ(lastError(), "Unrecognized statement 'WORD'");
  EXPECT_EQ(symbols(),
            (std::vector<TSymbol>{{"ram_bit_Start", "BIT", 5, 3, 1, true}, {"ram_int_Speed", "INT", 41, 7, 2, true}}));

  addProgram({{"SET_BIT", "Lamp"},
              {"IF_BIT_SET", "Door"},
              {"CLEAR_BIT", "Door"},
              {"END_IF"},
              {"SET_BIT", "Lamp"},
              {"END_OF_PROGRAM"}});
  ASSERT_EQ(lib.StartCompile(), 0);
  const TSymbol lamp = symbol("Lamp", "BIT");
  EXPECT_EQ(lamp.accessed, 2);
  EXPECT_FALSE(lamp.fixed);
  EXPECT_EQ(lamp.bit, 0u);
  EXPECT_EQ(symbol("Start", "BIT"), (TSymbol{"ram_bit_Start", "BIT", 5, 3, 0, true}));
  EXPECT_EQ(symbol("Speed", "INT"), (TSymbol{"ram_int_Speed", "INT", 41, 7, 0, true}));
  EXPECT_FALSE(lib.GetSymbolByName("Lamp", "INT"));
  EXPECT_EQ(currentSymbol().name, "ram_int_Speed");
  EXPECT_FALSE(lib.GetSymbolByName("Speed", "BYTE"));
  EXPECT_FALSE(lib.GetSymbolByName("Lamp", "bit"));
  EXPECT_EQ(symbol("1_0", "LABEL"), (TSymbol{"lbl_1_0", "LABEL", 1, 0, 1, false}));
  ASSERT_TRUE(lib.GetSymbolByInternalName("lbl_1_0"));
  EXPECT_EQ(currentSymbol().name, "lbl_1_0");

  // The walk visits every record once.
  std::vector<std::string> names;
  for (const TSymbol& s : symbols()) names.push_back(s.name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"lbl_1_0", "lbl_1_1", "ram_bit_Door", "ram_bit_Lamp", "ram_bit_Start",
                                             "ram_int_Speed"}));
}

TEST_F(Compiler, AnEarlierVariableCanBeTakenOverAsFixed) {
  lib.AddFreeRAMRange(8, 8);
  addProgram({{"INCREMENT_VARIABLE", "count"},
              {"INCREMENT_VARIABLE", "other"},
              {"INCREMENT_VARIABLE", "other"},
              {"END_OF_PROGRAM"}});
  ASSERT_EQ(lib.StartCompile(), 0);
  EXPECT_EQ(symbol("count", "INT").addr, 1u);
  ASSERT_TRUE(lib.AddFixSymbol("count", "INT", 77, 2));
  EXPECT_EQ(symbol("count", "INT"), (TSymbol{"ram_int_count", "INT", 77, 2, 2, true}));
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(lib.StartCompile(), 0);
    EXPECT_EQ(symbol("count", "INT"), (TSymbol{"ram_int_count", "INT", 77, 2, 1, true}));
    EXPECT_EQ(symbol("other", "INT").addr, 0u);
  }
}
