// The S-record rules: each row is a whole file.
#include "reader_case.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace {

const std::vector<TImageByte> aaBb = {{0x10, 0xAA}, {0x11, 0xBB}};
const std::string tooLong = "S1050010AABB85" + std::string(10000, '0') + "\nS9030000FC\n";

const TReaderCase s19Cases[] = {
    // Records and their endings.
    {"DataThenTermination", "S1050010AABB85\nS9030000FC\n", true, aaBb},
    {"FourByteAddress", "S30600000100AA4E\n", true, {{0x100, 0xAA}}},
    {"ThreeByteAddress", "S206010000FFEE0B\nS804000000FB\n", true, {{0x10000, 0xFF}, {0x10001, 0xEE}}},
    {"EndOfFileAfterGoodData", "S1050010AABB85", true, aaBb},
    {"HeaderAndCountAreSkipped", "S00600004844521B\nS1050010AABB85\nS5030001FB\nS9030000FC\n", true, aaBb},
    {"EndsWithCountRecord", "S1050010AABB85\nS5030001FB\n", false, aaBb},
    {"OnlyHeader", "S00600004844521B\n", false, {}},
    {"EmptyFile", "", false, {}},
    {"TerminationAlone", "S70500000000FA\n", true, {}},
    {"TerminationWithExtraBytes", "S9050000AABB95\n", true, {}},
    {"NothingAfterTerminationIsRead", "S9030000FC\nS1040010AA41\ngarbage\n", true, {}},
    {"SortedAfterLoad", "S1040020CC0F\nS1040010AA41\nS1040011BB2F\n", true, {{0x10, 0xAA}, {0x11, 0xBB}, {0x20, 0xCC}}},
    {"AddressWrapsAt32Bits", "S307FFFFFFFF1122C9\n", true, {{0x0, 0x22}, {0xFFFFFFFF, 0x11}}},
    {"CrLfLineEnds", "S1050010AABB85\r\nS9030000FC\r\n", true, aaBb},
    {"LowerCaseDigits", "S1050010aabb85\n", true, aaBb},
    // Characters of a field are not tested: the conversion stops at the
    // first non-digit, so a field without a digit counts as 0.
    {"FieldWithoutDigitsIsZero", "S1040010ZZEB\n", true, {{0x10, 0x00}}},
    {"LineCutAtControlCharacter", "S1050010AABB85\x01junk\n", true, aaBb},
    {"LineCutAtEightBitCharacter", "S1050010AABB85\x80junk\n", true, aaBb},
    {"LineCutAtNul", "S1050010AABB85\0junk\n"s, true, aaBb},
    // Failures keep what was read, in file order.
    {"WrongChecksumKeepsFileOrder",
     "S1050020AABB75\nS1050010CCDD42\nS9030000FC\n",
     false,
     {{0x20, 0xAA}, {0x21, 0xBB}, {0x10, 0xCC}, {0x11, 0xDD}}},
    {"WrongTerminationChecksumIsNotSorted",
     "S1040020CC0F\nS1040010AA41\nS9030000FD\n",
     false,
     {{0x20, 0xCC}, {0x10, 0xAA}}},
    {"BlankLineBeforeTermination", "S1050010AABB85\n\nS9030000FC\n", false, aaBb},
    {"CountTooSmallForAddress", "S1020010\n", false, {}},
    {"TerminationCountTooSmall", "S704000000FB\n", false, {}},
    {"TrailingBlanks", "S1050010AABB85  \n", false, {}},
    {"LengthShorterThanCount", "S1060010AABB85\n", false, {}},
    {"TooShortForACount", "S1\n", false, {}},
    {"NotAnSRecord", "X1050010AABB85\n", false, {}},
    {"LowerCaseS", "s1050010AABB85\n", false, {}},
    {"LeadingBlank", " S1050010AABB85\n", false, {}},
    {"TypeFour", "S4030000FC\n", false, {}},
    {"TypeSix", "S6030000FC\n", false, {}},
    {"TypeLetter", "SX030000FC\n", false, {}},
    {"LineLongerThanTheBuffer", tooLong, false, {}},
};

class S19Records : public testing::TestWithParam<TReaderCase> {};

TEST_P(S19Records, LoadAndServe) { tests_CheckReaderCase("s19", GetParam()); }

INSTANTIATE_TEST_SUITE_P(Rules, S19Records, testing::ValuesIn(s19Cases), TReaderCaseName());

}  // namespace
