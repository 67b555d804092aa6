// The CRC routines and the null-tolerant string routines, linked from the
// library's objects: their check values pin the controller's CRC-16.
#include <gtest/gtest.h>

#include <cstring>

#include "crc.h"
#include "nullstrings.h"

namespace {

uint32_t crcOf(const char* text, uint32_t start = 0, unsigned width = 16) {
  return CrcBitByBit(reinterpret_cast<const unsigned char*>(text), static_cast<uint32_t>(std::strlen(text)), start,
                     kCrcPolynomial, width);
}

}  // namespace

TEST(Crc, CheckValues) {
  EXPECT_EQ(crcOf("123456789"), 0x790Du);
  EXPECT_EQ(crcOf("abc"), 0x7BA0u);
}

TEST(Crc, NoDataGivesTheStartMaskedToTheWidth) {
  EXPECT_EQ(crcOf("", 0x12345), 0x2345u);
  EXPECT_EQ(crcOf("", 0xFFFFFFFF, 40), 0xFFFFFFFFu);  // widths above 32 count as 32
  EXPECT_EQ(crcOf("", 0xFF, 4), 0xFu);
}

TEST(Crc, InitPushesTheStartThroughSixteenZeroBits) {
  const struct {
    uint32_t start;
    uint32_t reg;
  } cases[] = {{0, 0}, {1, 0x4163}, {0xFFFF, 0x0F01}};
  for (const auto& c : cases) {
    EXPECT_TRUE(CrcInit(c.start, kCrcPolynomial));
    EXPECT_EQ(CrcFinalXor(0), c.reg) << c.start;
  }
}

TEST(Crc, WordsAreFedHighByteFirst) {
  CrcInit(0, kCrcPolynomial);
  for (uint16_t word : {0x00FF, 0x0003, 0x0000}) CrcUpdateWord(word);
  EXPECT_EQ(CrcFinalXor(0), 0x548Cu);
  EXPECT_EQ(CrcFinalXor(kCrcFinalXorValue), 0xD60Fu);
  EXPECT_EQ(CrcFinalXor(0x12340000), 0x1234548Cu);  // the high half passes unchanged

  CrcInit(0, kCrcPolynomial);
  for (uint16_t word : {0xFF00, 0x0300, 0x0000}) CrcUpdateWord(word);
  EXPECT_NE(CrcFinalXor(0), 0x548Cu);
}

TEST(NullStrings, CompareAndMeasureNullAsSmallest) {
  const char* text = "a";
  EXPECT_EQ(strcmpnull(nullptr, nullptr), 0);
  EXPECT_EQ(strcmpnull(text, text), 0);
  EXPECT_EQ(strcmpnull(nullptr, "a"), -1);
  EXPECT_EQ(strcmpnull("a", nullptr), 1);
  EXPECT_LT(strcmpnull("a", "b"), 0);
  EXPECT_EQ(strcmpnull("ab", "ab"), 0);
  EXPECT_EQ(strlennull(nullptr), 0u);
  EXPECT_EQ(strlennull(""), 0u);
  EXPECT_EQ(strlennull("abc"), 3u);
}
