// The field conversion of the Intel HEX reader.
#include "ihexreader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

struct TFieldCase {
  const char* src;
  int len;
  int64_t value;
};

void PrintTo(const TFieldCase& row, std::ostream* out) {
  *out << '"' << (row.src ? row.src : "(null)") << "\", " << row.len;
}

const TFieldCase fieldCases[] = {
    {"AB", 2, 0xAB},     {"ab", 2, 0xAB},   {"ABCD", 2, 0xAB},
    {"ABCD", 4, 0xABCD}, {"A", 2, 0xA},     {"", 2, 0},
    {nullptr, 2, 0},     {"AB", 0, 0},      {"AB", -1, 0},
    {"G1", 2, -1},       {"1G", 2, -1},     {"1 ", 2, -1},
    {"\n", 2, -1},       {" 1", 2, 1},      {"\t1", 2, 1},
    {"+1", 2, 1},        {"-1", 2, -1},     {"-0", 2, 0},
    {"0x", 2, -1},       {"0x12", 4, 0x12}, {"12345678", 8, 0x12345678},
};

class Hex2Number : public testing::TestWithParam<TFieldCase> {};

TEST_P(Hex2Number, Converts) {
  const auto& row = GetParam();
  EXPECT_EQ(TIHEXReader::hex2Number(row.src, row.len), row.value);
}

INSTANTIATE_TEST_SUITE_P(Fields, Hex2Number, testing::ValuesIn(fieldCases));

// Eight digits with the top bit set are no error value, on any platform.
const TFieldCase topBitCases[] = {
    {"80000000", 8, 0x80000000},
    {"FFFFFFFF", 8, 0xFFFFFFFF},
    {" FFFFFFFF", 9, 0xFFFFFFFF},
};

INSTANTIATE_TEST_SUITE_P(TopBitSet, Hex2Number, testing::ValuesIn(topBitCases));

TEST(Hex2NumberLength, FieldLongerThanItsBufferIsRefused) {
  const std::string digits(200, '1');
  EXPECT_EQ(TIHEXReader::hex2Number(digits.c_str(), 99), INT64_MAX) << "99 digits still fit";
  EXPECT_EQ(TIHEXReader::hex2Number(digits.c_str(), 100), -1);
  EXPECT_EQ(TIHEXReader::hex2Number(digits.c_str(), 200), -1);
}

}  // namespace
