// The S-record writer's files, record for record.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "expected_files.h"
#include "writer_under_test.h"

namespace outtest {
namespace {

const std::string S7 = "S70500000000FA";

TEST(S19Writer, WritesTheseExactFiles) {
  ExpectFiles(
      "s19",
      {
          {"three bytes", Bytes(0x100, {0x11, 0x22, 0x33}), Lines({"S3080000010011223390", "S5030001FB", S7})},
          {"a full record and the empty one after it", Sequence(0, 16),
           Lines({"S31500000000000102030405060708090A0B0C0D0E0F72", "S30500000010EA", "S5030002FA", S7})},
          {"a jump in the middle of a record", Bytes(0, {1, 2, 3}) + Bytes(0x10, {4, 5}),
           Lines({"S30800000000010203F1", "S307000000100405DF", "S5030002FA", S7})},
          {"a jump right after a full record", Sequence(0, 16) + Bytes(0x20, {0xAA}),
           Lines({"S31500000000000102030405060708090A0B0C0D0E0F72", "S30500000010EA", "S30600000020AA2F", "S5030003F9",
                  S7})},
          {"first byte at the top address", Bytes(0xFFFFFFFF, {0x5A}), Lines({"S306FFFFFFFF5AA3", "S5030001FB", S7})},
          {"a record that wraps past the top address", Bytes(0xFFFFFFFE, {1, 2, 3, 4}),
           Lines({"S309FFFFFFFE01020304F1", "S5030001FB", S7})},
          {"a full record ending at the top address", Sequence(0xFFFFFFF0, 16),
           Lines({"S315FFFFFFF0000102030405060708090A0B0C0D0E0F85", "S30500000000FA", "S5030002FA", S7})},
      });
}

// One single-byte record for each of `records` bytes two addresses apart.
TImage OneRecordEach(size_t records) {
  TImage image;
  for (size_t i = 0; i < records; ++i) image.push_back({static_cast<uint32_t>(2 * i), static_cast<uint8_t>(i)});
  return image;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(S19Writer, RecordCountOnlyWhileItFitsSixteenBits) {
  struct TCase {
    size_t records;
    std::vector<std::string> lastLines;
  };
  // The last record holds byte i & 0xFF at address 2 * i.
  const TCase cases[] = {
      {0xFFFF, {"S3060001FFFCFEFF", "S503FFFFFE", S7}},
      {0x10000, {"S3060001FFFEFFFC", S7}},
  };
  for (const TCase& test : cases) {
    SCOPED_TRACE(test.records);
    TWriterUnderTest writer("s19");
    const std::vector<std::string> lines = SplitLines(writer.Save(OneRecordEach(test.records)));
    ASSERT_EQ(lines.size(), test.records + test.lastLines.size() - 1);
    EXPECT_EQ(std::vector<std::string>(lines.end() - test.lastLines.size(), lines.end()), test.lastLines);
  }
}

}  // namespace
}  // namespace outtest
