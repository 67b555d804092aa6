// The image behind the stream reader routines: bytes appended in file order,
// then sorted, with every repeated address found.
#include "bsif.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

namespace {

struct TAppend {
  uint32_t address;
  std::vector<uint8_t> bytes;
};

struct TImageCase {
  const char* name;
  std::vector<TAppend> appends;
  bool unique;
  // Every byte served, by address then data; equal addresses in any order.
  std::vector<std::pair<uint32_t, uint8_t>> image;
};

void PrintTo(const TImageCase& row, std::ostream* out) { *out << row.name; }

class TTestStreamer : public TByteStreamer {
 public:
  using TByteStreamer::Clear;
  using TByteStreamer::SortByAddress;
};

const TImageCase imageCases[] = {
    {"ContiguousRecords", {{0x10, {1, 2}}, {0x12, {3}}}, true, {{0x10, 1}, {0x11, 2}, {0x12, 3}}},
    {"TouchingRecordsOutOfOrder", {{0x12, {3}}, {0x10, {1, 2}}}, true, {{0x10, 1}, {0x11, 2}, {0x12, 3}}},
    {"Gaps", {{0x30, {3}}, {0x10, {1}}, {0x20, {2}}}, true, {{0x10, 1}, {0x20, 2}, {0x30, 3}}},
    {"OverlapInsideARecord",
     {{0x10, {1, 2, 3, 4}}, {0x12, {5}}},
     false,
     {{0x10, 1}, {0x11, 2}, {0x12, 3}, {0x12, 5}, {0x13, 4}}},
    {"SameStartOtherLength", {{0x10, {1, 2}}, {0x10, {3}}}, false, {{0x10, 1}, {0x10, 3}, {0x11, 2}}},
    {"RepeatedAfterAGap", {{0x10, {1}}, {0x40, {2}}, {0x10, {1}}}, false, {{0x10, 1}, {0x10, 1}, {0x40, 2}}},
    {"AddressesWrapAtTheTop", {{0xFFFFFFFE, {1, 2, 3}}}, true, {{0, 3}, {0xFFFFFFFE, 1}, {0xFFFFFFFF, 2}}},
    {"TopThenZeroAreNotContiguous", {{0xFFFFFFFF, {1}}, {0, {2}}}, true, {{0, 2}, {0xFFFFFFFF, 1}}},
    {"NothingAppended", {{0x10, {}}}, true, {}},
};

class ByteStreamerImages : public testing::TestWithParam<TImageCase> {};

TEST_P(ByteStreamerImages, SortAndServe) {
  const auto& row = GetParam();
  TTestStreamer image;
  image.Clear(16);
  for (const auto& append : row.appends) {
    if (append.bytes.size() == 1)
      image.Append({append.address, append.bytes[0]});
    else
      image.Append(append.address, append.bytes.data(), append.bytes.size());
  }
  EXPECT_EQ(image.SortByAddress(), row.unique);

  std::vector<std::pair<uint32_t, uint8_t>> served;
  for (bool more = image.GetFirstByte(); more; more = image.GetNextByte())
    served.emplace_back(image.GetCurrentByteAddress(), image.GetCurrentByteData());
  EXPECT_TRUE(
      std::is_sorted(served.begin(), served.end(), [](const auto& a, const auto& b) { return a.first < b.first; }));
  std::sort(served.begin(), served.end());
  EXPECT_EQ(served, row.image);
}

INSTANTIATE_TEST_SUITE_P(Images, ByteStreamerImages, testing::ValuesIn(imageCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ByteStreamerWalk, ServesFileOrderUntilSorted) {
  TTestStreamer image;
  image.Append({0x20, 2});
  image.Append({0x10, 1});
  ASSERT_TRUE(image.GetFirstByte());
  EXPECT_EQ(image.GetCurrentByteAddress(), 0x20u);
  ASSERT_TRUE(image.GetNextByte());
  EXPECT_EQ(image.GetCurrentByteAddress(), 0x10u);
  EXPECT_FALSE(image.GetNextByte());
}

TEST(ByteStreamerWalk, ClearDropsImageAndPosition) {
  TTestStreamer image;
  image.Append({0x20, 2});
  ASSERT_TRUE(image.GetFirstByte());
  image.Clear();
  EXPECT_FALSE(image.GetNextByte());
  EXPECT_EQ(image.GetCurrentByteAddress(), 0u);
  EXPECT_EQ(image.GetCurrentByteData(), 0u);
  EXPECT_FALSE(image.GetFirstByte());
}

}  // namespace
