// The END_OF_PROGRAM trailer: word count, polynomial and CRC-16 of the image.
#include <vector>

#include "plccomp_fixture.h"

namespace {

// CRC-16 of the image from its definition: polynomial 0x4163, start 0, most
// significant bit first, over the bytes with the two bytes of each word swapped.
uint16_t referenceCrc(const std::vector<uint8_t>& bytes, size_t words) {
  uint16_t reg = 0;
  for (size_t i = 0; i < 2 * words; ++i) {
    const uint8_t byte = bytes[i ^ 1];
    for (int bit = 7; bit >= 0; --bit) {
      const bool feedback = ((reg >> 15) & 1) != (((byte >> bit) & 1) != 0);
      reg = static_cast<uint16_t>(reg << 1);
      if (feedback) reg ^= 0x4163;
    }
  }
  return reg;
}

uint16_t wordAt(const std::vector<uint8_t>& bytes, size_t offset) {
  return static_cast<uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

}  // namespace

TEST_F(Compiler, TrailerOfTheEndAlone) {
  addProgram({{"END_OF_PROGRAM"}});
  ASSERT_EQ(lib.StartCompile(), 0);
  EXPECT_EQ(image(), bytesOf("FF 00 03 00 00 00 63 41 0F D6"));
}

TEST_F(Compiler, TrailerBehindASettingsBlockAndOneRecord) {
  const uint8_t settings[] = {0x34, 0x12};
  ASSERT_TRUE(lib.SetCompilerSetting(settings, sizeof settings));
  ASSERT_TRUE(lib.AddFixSymbol("lamp", "BIT", 5, 0));
  addProgram({{"SET_BIT", "lamp"}, {"END_OF_PROGRAM"}});
  ASSERT_EQ(lib.StartCompile(), 0);
  EXPECT_EQ(image(), bytesOf("34 12 01 00 05 00 00 00 00 00 00 00 FF 00 09 00 00 00 63 41 67 43"));
}

TEST_F(Compiler, TrailerCoversEveryWordUpToItsCounts) {
  const std::vector<uint8_t> settings(208, 0x5C);
  const std::vector<std::vector<TInst>> programs = {{{"END_OF_PROGRAM"}},
                                                    {{"SET_BIT", "a"}, {"END_OF_PROGRAM"}},
                                                    {{"IF_BIT_SET", "a"},
                                                     {"INCREMENT_VARIABLE", "n"},
                                                     {"ELSE"},
                                                     {"SET_VARIABLE_TO_LITERAL", "n", nullptr, nullptr, -2},
                                                     {"END_IF"},
                                                     {"END_OF_PROGRAM"}}};
  for (const auto& program : programs) {
    lib.ResetCompiler(COMPILER_RESET_LEVEL_TOTAL);
    lib.AddFreeRAMRange(4, 4);
    ASSERT_TRUE(lib.SetCompilerSetting(settings.data(), 208));
    addProgram(program);
    ASSERT_EQ(lib.StartCompile(), 0);
    const auto bytes = image();
    const size_t records = (bytes.size() - 208) / 10;
    const size_t end = bytes.size() - 10;
    const uint32_t words = wordAt(bytes, end + 2) | static_cast<uint32_t>(wordAt(bytes, end + 4)) << 16;
    EXPECT_EQ(words, 5 * records + 102);
    EXPECT_EQ(wordAt(bytes, end), 0x00FF);
    EXPECT_EQ(wordAt(bytes, end + 6), 0x4163);
    EXPECT_EQ(wordAt(bytes, end + 8), referenceCrc(bytes, words) ^ 0x8283);
  }
}

TEST_F(Compiler, EveryByteBeforeThePolynomialEntersTheCrc) {
  std::vector<uint8_t> settings(208, 0);
  addProgram({{"SET_BIT", "a"}, {"END_OF_PROGRAM"}});
  ASSERT_TRUE(lib.SetCompilerSetting(settings.data(), 208));
  ASSERT_EQ(lib.StartCompile(), 0);
  const auto first = image();
  settings[7] = 1;
  ASSERT_TRUE(lib.SetCompilerSetting(settings.data(), 208));
  ASSERT_EQ(lib.StartCompile(), 0);
  const auto second = image();
  ASSERT_EQ(first.size(), 228u);
  EXPECT_EQ(wordAt(first, 220), wordAt(second, 220));  // same word count
  EXPECT_NE(wordAt(first, 226), wordAt(second, 226));
}

TEST_F(Compiler, EndRecordAloneBehindTheConventionalBlockCounts107Words) {
  const std::vector<uint8_t> settings(208, 0);
  ASSERT_TRUE(lib.SetCompilerSetting(settings.data(), 208));
  addProgram({{"END_OF_PROGRAM"}});
  ASSERT_EQ(lib.StartCompile(), 0);
  const auto bytes = image();
  ASSERT_EQ(bytes.size(), 218u);
  EXPECT_EQ(wordAt(bytes, 210), 107);
  EXPECT_EQ(wordAt(bytes, 212), 0);
}
