// The image through the stream reader routines: what is served, at which
// addresses, and what the routines answer around it.
#include <string>
#include <vector>

#include "plccomp_fixture.h"

namespace {

const std::vector<TInst> kOneBit = {{"SET_BIT", "lamp"}, {"END_OF_PROGRAM"}};

std::vector<uint8_t> block(size_t size, uint8_t first) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(first + i);
  return bytes;
}

}  // namespace

TEST_F(Compiler, ConventionalSettingsBlockPutsTheCodeAt0xD0) {
  const auto settings = block(208, 1);
  ASSERT_TRUE(lib.SetCompilerSetting(settings.data(), 208));
  addProgram(kOneBit);
  ASSERT_EQ(lib.StartCompile(), 0);
  uint32_t first = 1;
  const auto bytes = image(&first);
  EXPECT_EQ(first, 0u);
  ASSERT_EQ(bytes.size(), 208u + 20u);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 208), settings);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 208, bytes.begin() + 218), bytesOf("01 00 00 00 00 00 00 00 00 00"));
}

TEST_F(Compiler, ImageStartsAtTheFlashStart) {
  lib.AddFreeFLASHRange(0x100, 0x1FF);
  addProgram(kOneBit);
  ASSERT_EQ(lib.StartCompile(), 0);
  uint32_t first = 0;
  const auto bytes = image(&first);
  EXPECT_EQ(first, 0x100u);
  ASSERT_EQ(bytes.size(), 20u);
  EXPECT_EQ(bytes[0], 1);  // SET_BIT
}

TEST_F(Compiler, SkippedInstructionsLeaveNoGap) {
  addProgram({{"COMMENT", "first"},
              {"SET_BIT", "a"},
              {"SIMULATE_NODE_STATE", nullptr, nullptr, nullptr, 4},
              {"CLEAR_BIT", "a"},
              {"COMMENT"},
              {"END_OF_PROGRAM"}});
  ASSERT_EQ(lib.StartCompile(), 0);
  const auto bytes = image();
  ASSERT_EQ(bytes.size(), 30u);
  EXPECT_EQ(bytes[0], 1);
  EXPECT_EQ(bytes[10], 2);
  EXPECT_EQ(bytes[20], 0xFF);
}

TEST_F(Compiler, StreamEndsOnceAndStaysEnded) {
  addProgram(kOneBit);
  ASSERT_EQ(lib.StartCompile(), 0);
  ASSERT_EQ(image().size(), 20u);
  EXPECT_FALSE(lib.GetNextByte());
  EXPECT_FALSE(lib.GetNextByte());
  EXPECT_EQ(lib.GetCurrentByteAddress(), 19u);
  lib.ResetCompiler(COMPILER_RESET_LEVEL_DEBUG);
  testkit::TStdoutCapture capture;
  EXPECT_EQ(lib.GetCurrentByteData(), 0xFF);
  EXPECT_TRUE(hasLine(debugLines(capture.Text()), "GetCurrentByteData(): Invalid state for ByteStreamer."));
}

TEST_F(PlcComp, StreamIsEmptyBeforeAnyCompile) {
  const auto settings = block(208, 0);
  ASSERT_TRUE(lib.SetCompilerSetting(settings.data(), 208));
  lib.AddFreeFLASHRange(0x40, 0xFFFF);
  testkit::TStdoutCapture capture;
  EXPECT_EQ(lib.GetCurrentByteAddress(), 0u);
  EXPECT_EQ(lib.GetCurrentByteData(), 0xFF);
  EXPECT_FALSE(lib.GetNextByte());
  EXPECT_FALSE(lib.GetFirstByte());
  EXPECT_EQ(lib.GetCurrentByteAddress(), 0x40u);
  EXPECT_FALSE(lib.GetNextByte());
  EXPECT_FALSE(lib.GetFirstCodeLine());
  const std::string out = capture.Text();
  EXPECT_TRUE(hasLine(debugLines(out), "GetCurrentByteData(): Invalid state for ByteStreamer."));
  const auto traces = traceMessages(out);
  EXPECT_TRUE(hasLine(traces, "GetFirstByte(): ByteCode is empty"));
  EXPECT_TRUE(hasLine(traces, "GetFirstByte() => FALSE"));
  EXPECT_TRUE(hasLine(traces, "GetNextByte() => FALSE"));
}

TEST_F(Compiler, RewindServesTheFirstByteAgain) {
  const auto settings = block(4, 0x11);
  ASSERT_TRUE(lib.SetCompilerSetting(settings.data(), 4));
  addProgram(kOneBit);
  ASSERT_EQ(lib.StartCompile(), 0);
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(lib.GetFirstByte());
    EXPECT_EQ(lib.GetCurrentByteAddress(), 0u);
    EXPECT_EQ(lib.GetCurrentByteData(), 0x11);
  }
  ASSERT_TRUE(lib.GetNextByte());
  ASSERT_TRUE(lib.GetFirstByte());
  EXPECT_EQ(lib.GetCurrentByteData(), 0x11);
}

TEST_F(Compiler, EmptiedCodeIsNeverSteppedThrough) {
  addProgram(kOneBit);
  ASSERT_EQ(lib.StartCompile(), 0);
  ASSERT_TRUE(lib.GetFirstByte());
  ASSERT_TRUE(lib.GetNextByte());
  ASSERT_TRUE(lib.GetNextByte());  // byte 2 of the SET_BIT record
  lib.ResetCompiler(COMPILER_RESET_LEVEL_TOTAL);
  // The rest of the record in hand is still served, then the stream ends.
  std::vector<uint8_t> rest;
  while (lib.GetNextByte()) rest.push_back(lib.GetCurrentByteData());
  EXPECT_EQ(rest.size(), 7u);
  EXPECT_FALSE(lib.GetNextByte());
  EXPECT_FALSE(lib.GetFirstByte());
  EXPECT_FALSE(lib.GetFirstCodeLine());
}

TEST_F(Compiler, FailedCompileLeavesNoImage) {
  addProgram(kOneBit);
  ASSERT_EQ(lib.StartCompile(), 0);
  ASSERT_TRUE(lib.GetFirstCodeLine());
  lib.ResetCompiler(COMPILER_RESET_LEVEL_TOTAL);
  addProgram({{"END_IF"}});
  ASSERT_EQ(lib.StartCompile(), 1);
  EXPECT_FALSE(lib.GetFirstByte());
  EXPECT_FALSE(lib.GetNextByte());
  EXPECT_FALSE(lib.GetFirstCodeLine());
}

TEST_F(Compiler, SettingsBlockIsCopiedAtEachRewind) {
  const auto before = block(2, 0xA0);
  const auto after = block(2, 0xB0);
  ASSERT_TRUE(lib.SetCompilerSetting(before.data(), 2));
  addProgram(kOneBit);
  ASSERT_EQ(lib.StartCompile(), 0);
  ASSERT_TRUE(lib.SetCompilerSetting(after.data(), 2));
  EXPECT_EQ(lib.GetCurrentByteData(), 0xA0);  // the compile rewound before the new block
  ASSERT_TRUE(lib.GetFirstByte());
  EXPECT_EQ(lib.GetCurrentByteData(), 0xB0);
}

struct TServedCase {
  const char* what;
  std::vector<std::pair<size_t, bool>> blocks;  // size, with data; each handed over in turn
  size_t served;                                // settings bytes ahead of the code
  uint8_t firstByte;
};

class ServedSettings : public Compiler, public ::testing::WithParamInterface<TServedCase> {};

TEST_P(ServedSettings, PrecedeTheCode) {
  uint8_t marker = 0x10;
  for (const auto& [size, withData] : GetParam().blocks) {
    const auto bytes = block(size + 1, marker);
    lib.SetCompilerSetting(withData ? bytes.data() : nullptr, static_cast<uint32_t>(size));
    marker = static_cast<uint8_t>(marker + 0x10);
  }
  addProgram(kOneBit);
  ASSERT_EQ(lib.StartCompile(), 0);
  const auto bytes = image();
  ASSERT_EQ(bytes.size(), GetParam().served + 20);
  EXPECT_EQ(bytes[0], GetParam().firstByte);
}

INSTANTIATE_TEST_SUITE_P(
    PlcComp, ServedSettings,
    ::testing::Values(TServedCase{"none", {}, 0, 1}, TServedCase{"capacity", {{102400, true}}, 102400, 0x10},
                      TServedCase{"overCapacityKeepsTheBlockBefore", {{4, true}, {102401, true}}, 4, 0x10},
                      TServedCase{"nullData", {{4, true}, {500, false}}, 0, 1},
                      TServedCase{"oddLengthKeepsTheBlockBefore", {{4, true}, {207, true}}, 4, 0x10}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(Compiler, ResetsZeroTheSettingsBytesButKeepTheirLength) {
  const auto settings = block(208, 1);
  ASSERT_TRUE(lib.SetCompilerSetting(settings.data(), 208));
  lib.ResetCompiler(COMPILER_RESET_LEVEL_TOTAL);
  addProgram(kOneBit);
  ASSERT_EQ(lib.StartCompile(), 0);
  auto bytes = image();
  ASSERT_EQ(bytes.size(), 228u);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 208), std::vector<uint8_t>(208, 0));

  // The settings-only level keeps the program and its code.
  ASSERT_TRUE(lib.SetCompilerSetting(settings.data(), 208));
  ASSERT_EQ(lib.StartCompile(), 0);
  const auto compiled = image();
  lib.ResetCompiler(COMPILER_RESET_LEVEL_COMPILER_SETTINGS_ONLY);
  bytes = image();
  ASSERT_EQ(bytes.size(), 228u);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 208), std::vector<uint8_t>(208, 0));
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 208, bytes.end()),
            std::vector<uint8_t>(compiled.begin() + 208, compiled.end()));
  EXPECT_TRUE(lib.GetSymbolByName("lamp", "BIT"));
}

TEST_F(Compiler, RangesSurviveTheTotalReset) {
  lib.AddFreeRAMRange(1, 1);
  lib.AddFreeFLASHRange(0x200, 0x2FF);
  lib.ResetCompiler(COMPILER_RESET_LEVEL_TOTAL);
  addProgram({{"SET_BIT", "a"}, {"INCREMENT_VARIABLE", "i"}, {"END_OF_PROGRAM"}});
  ASSERT_EQ(lib.StartCompile(), 0);
  uint32_t first = 0;
  image(&first);
  EXPECT_EQ(first, 0x200u);
  lib.ResetCompiler(COMPILER_RESET_LEVEL_TOTAL);
  addProgram({{"SET_BIT", "a"}, {"SET_BIT", "b"}, {"END_OF_PROGRAM"}});
  EXPECT_EQ(lib.StartCompile(), 5);  // a second BIT variable exceeds the BIT limit of 1
}

// The image of kOneBit is 20 bytes: from 0xFFFFFFEC its last byte lies at
// 0xFFFFFFFF; one address higher its addresses would run over to 0.
struct TTopCase {
  const char* what;
  uint32_t start;
  bool fits;
};

class ImageAtTheTop : public Compiler, public ::testing::WithParamInterface<TTopCase> {};

TEST_P(ImageAtTheTop, EndsAtTheLastAddressOrIsRefused) {
  addProgram(kOneBit);
  lib.AddFreeFLASHRange(GetParam().start, 0xFFFFFFFF);
  if (GetParam().fits) {
    ASSERT_EQ(lib.StartCompile(), 0);
    uint32_t first = 0;
    EXPECT_EQ(image(&first).size(), 20u);
    EXPECT_EQ(first, GetParam().start);
    EXPECT_EQ(lib.GetCurrentByteAddress(), 0xFFFFFFFFu);
  } else {
    EXPECT_EQ(lib.StartCompile(), 1);
    EXPECT_EQ(lastError(), "Could not compile (1):\nImage runs past address 0xFFFFFFFF");
    EXPECT_FALSE(lib.GetFirstByte());
  }

  // A range set after the compile moves the image at the next rewind.
  lib.AddFreeFLASHRange(0, 0xFFFF);
  ASSERT_EQ(lib.StartCompile(), 0);
  lib.AddFreeFLASHRange(GetParam().start, 0xFFFFFFFF);
  EXPECT_EQ(lib.GetFirstByte(), GetParam().fits) << "an image that would run over is not served";
}

INSTANTIATE_TEST_SUITE_P(PlcComp, ImageAtTheTop,
                         ::testing::Values(TTopCase{"lastByteAtTheTop", 0xFFFFFFEC, true},
                                           TTopCase{"oneBytePast", 0xFFFFFFED, false},
                                           TTopCase{"farPast", 0xFFFFFFFF, false}),
                         [](const auto& info) { return std::string(info.param.what); });
