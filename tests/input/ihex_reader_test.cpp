// The Intel HEX rules: each row is a whole file.
#include "reader_case.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace {

const std::vector<TImageByte> aaBb = {{0x10, 0xAA}, {0x11, 0xBB}};
const std::vector<TImageByte> aaBb11 = {{0x10, 0xAA}, {0x11, 0xBB}, {0x20, 0x11}};

// The first record fills a whole buffer, so the second starts a piece.
const std::string pieceStartsRecord = ":02001000AABB89" + std::string(9999 - 15, ' ') + ":0100200011CE\n";
const std::string pieceOfBlanks = ":02001000AABB89" + std::string(10000, ' ') + "\n:0100200011CE\n";

const TReaderCase ihexCases[] = {
    // Records.
    {"DataRecord", ":02001000AABB89\n", true, aaBb},
    {"ExtendedLinearAddress", ":020000040001F9\n:0100000055AA\n", true, {{0x10000, 0x55}}},
    {"ExtendedSegmentAddress", ":020000021000EC\n:0100000055AA\n", true, {{0x10000, 0x55}}},
    {"BaseIsReplaced", ":020000040002F8\n:020000022000DC\n:010100007787\n", true, {{0x20100, 0x77}}},
    {"EndOfFileRecordDoesNotEndReading", ":02001000AABB89\n:00000001FF\n:0100200011CE\n", true, aaBb11},
    {"StartAddressesAreIgnored", ":0400000500000000F7\n:04000003ZZ\n:02001000AABB89\n", true, aaBb},
    {"SortedAfterLoad", ":0100200011CE\n:02001000AABB89\n", true, aaBb11},
    {"AddressWrapsAt32Bits", ":02000004FFFFFC\n:02FFFF00AABB9B\n", true, {{0x0, 0xBB}, {0xFFFFFFFF, 0xAA}}},
    {"CrLfLineEnds", ":02001000AABB89\r\n:00000001FF\r\n", true, aaBb},
    {"LowerCaseDigits", ":02001000aabb89\n", true, aaBb},
    {"LeadingTabIsSkipped", "\t:02001000AABB89\n", true, aaBb},
    {"LineCutAtNul", ":02001000AABB89\0junk\n:0100200011CE\n"s, true, aaBb11},
    // Missing fields read as empty.
    {"DataRecordWithoutChecksumAtEndOfFile", ":00000000", true, {}},
    {"ChecksumFieldHoldingTheLineEnd", ":00000000\n", false, {}},
    {"ShortRecordReadsMissingBytesAsZero", ":03001000ED", true, {{0x10, 0xED}, {0x11, 0}, {0x12, 0}}},
    {"ShortRecordDoesNotReuseALongerLine",
     ":08002000112233445566778874\n:03001000ED",
     true,
     {{0x10, 0xED},
      {0x11, 0},
      {0x12, 0},
      {0x20, 0x11},
      {0x21, 0x22},
      {0x22, 0x33},
      {0x23, 0x44},
      {0x24, 0x55},
      {0x25, 0x66},
      {0x26, 0x77},
      {0x27, 0x88}}},
    // A line that is no record ends reading with success.
    {"EmptyFile", "", true, {}},
    {"FirstLineBlank", "\n:02001000AABB89\n", true, {}},
    {"ReadingEndsAtBlankLine", ":02001000AABB89\n\n:0100200011CE\n", true, aaBb},
    {"ReadingEndsAtText", ":02001000AABB89\nhello\n:0100200011CE\n", true, aaBb},
    {"LeadingBlankEndsReading", "  :02001000AABB89\n", true, {}},
    {"CountThatDoesNotConvert", ":02001000AABB89\n:ZZ001000AABB89\n:0100200011CE\n", true, aaBb},
    {"AddressThatDoesNotConvert", ":02001000AABB89\n:02ZZ1000AABB89\n:0100200011CE\n", true, aaBb},
    {"LongLineReadInPieces", pieceStartsRecord, true, aaBb11},
    {"PieceOfBlanksEndsReading", pieceOfBlanks, true, aaBb},
    // Failures keep what was read, in file order.
    {"WrongChecksumKeepsFileOrder",
     ":0100200011CE\n:02001000AABB88\n",
     false,
     {{0x20, 0x11}, {0x10, 0xAA}, {0x11, 0xBB}}},
    {"DataByteThatDoesNotConvert", ":02001000AAZZ89\n", false, {{0x10, 0xAA}}},
    {"ChecksumThatDoesNotConvert", ":02001000AABBZZ\n", false, aaBb},
    {"TypeSix", ":00000006FA\n", false, {}},
    {"TypeThatDoesNotConvert", ":000000ZZFA\n", false, {}},
    {"EndOfFileWithAddress", ":00000101FE\n", false, {}},
    {"EndOfFileWithCount", ":01000001FE\n", false, {}},
    {"EndOfFileWithoutChecksum", ":00000001", false, {}},
    {"EndOfFileWithWrongChecksum", ":00000001FE\n", false, {}},
    {"SegmentWithAddress", ":020001021000EB\n", false, {}},
    {"SegmentWithWrongCount", ":0100000210ED\n", false, {}},
    {"LinearWithWrongChecksum", ":020000040001F8\n:0100000055AA\n", false, {}},
    {"BaseDigitsThatDoNotConvert", ":02000004ZZ01F9\n:0100000055AA\n", false, {}},
};

class IHEXRecords : public testing::TestWithParam<TReaderCase> {};

TEST_P(IHEXRecords, LoadAndServe) { tests_CheckReaderCase("ihex", GetParam()); }

INSTANTIATE_TEST_SUITE_P(Rules, IHEXRecords, testing::ValuesIn(ihexCases), TReaderCaseName());

}  // namespace
