// The stream reader contract as every consumer relies on it, for both plug-ins.
#include "input_plugin.h"

#include <gtest/gtest.h>

namespace {

struct TContractFiles {
  const char* format;
  const char* walk;      // bytes 0xAA at 0x10, 0xBB at 0x11, 0xCC at 0x20, not in that order
  const char* repeated;  // 0x11 and 0x22 both at 0x100
  const char* other;     // 0xAA at 0x10 alone
};

void PrintTo(const TContractFiles& files, std::ostream* out) { *out << files.format; }

const TContractFiles contractFiles[] = {
    {"s19", "S1040020CC0F\nS1040010AA41\nS1040011BB2F\n", "S104010011E9\nS104010022D8\n", "S1040010AA41\n"},
    {"ihex", ":01002000CC13\n:01001000AA45\n:01001100BB33\n", ":0101000011ED\n:0101000022DC\n", ":01001000AA45\n"},
};

class StreamerContract : public testing::TestWithParam<TContractFiles> {
 protected:
  void ExpectNoCurrentByte() {
    EXPECT_EQ(plugin.GetCurrentByteAddress(), 0u);
    EXPECT_EQ(plugin.GetCurrentByteData(), 0u);
  }

  TInputPlugin plugin{GetParam().format};
};

TEST_P(StreamerContract, NothingLoadedServesNothing) {
  EXPECT_FALSE(plugin.GetNextByte());
  ExpectNoCurrentByte();
  EXPECT_FALSE(plugin.GetFirstByte());
  EXPECT_FALSE(plugin.GetNextByte());
  ExpectNoCurrentByte();
}

TEST_P(StreamerContract, UnopenablePathsFailWithAnEmptyImage) {
  ASSERT_TRUE(plugin.LoadText(GetParam().walk));
  const std::string missing = plugin.Dir().Path() + "/no such file";
  for (const char* path : {missing.c_str(), plugin.Dir().Path().c_str(), (const char*)nullptr}) {
    SCOPED_TRACE(path ? path : "null");
    EXPECT_FALSE(plugin.LoadFile(path));
    EXPECT_FALSE(plugin.GetFirstByte());
    EXPECT_FALSE(plugin.GetNextByte());
    ExpectNoCurrentByte();
  }
}

TEST_P(StreamerContract, WalkIsAscendingAndStaysAtTheEnd) {
  ASSERT_TRUE(plugin.LoadText(GetParam().walk));
  EXPECT_FALSE(plugin.GetNextByte()) << "not rewound yet";

  ASSERT_TRUE(plugin.GetFirstByte());
  EXPECT_EQ(plugin.GetCurrentByteAddress(), 0x10u);
  EXPECT_EQ(plugin.GetCurrentByteAddress(), 0x10u) << "a getter does not move";
  EXPECT_EQ(plugin.GetCurrentByteData(), 0xAA);
  ASSERT_TRUE(plugin.GetNextByte());
  EXPECT_EQ(plugin.GetCurrentByteAddress(), 0x11u);
  EXPECT_EQ(plugin.GetCurrentByteData(), 0xBB);
  ASSERT_TRUE(plugin.GetNextByte());
  EXPECT_EQ(plugin.GetCurrentByteAddress(), 0x20u);
  EXPECT_EQ(plugin.GetCurrentByteData(), 0xCC);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(plugin.GetNextByte());
  ExpectNoCurrentByte();
}

TEST_P(StreamerContract, RewindInTheMiddleStartsAgain) {
  ASSERT_TRUE(plugin.LoadText(GetParam().walk));
  ASSERT_TRUE(plugin.GetFirstByte());
  ASSERT_TRUE(plugin.GetNextByte());
  ASSERT_TRUE(plugin.GetFirstByte());
  EXPECT_EQ(plugin.GetCurrentByteAddress(), 0x10u);
  EXPECT_EQ(plugin.Walk().size(), 3u);
  EXPECT_EQ(plugin.Walk().size(), 3u) << "a finished walk can be started again";
}

TEST_P(StreamerContract, RepeatedAddressFailsAndServesBothRecordsSideBySide) {
  EXPECT_FALSE(plugin.LoadText(GetParam().repeated));
  const auto image = plugin.Walk();
  ASSERT_EQ(image.size(), 2u);
  EXPECT_EQ(image[0].address, 0x100u);
  EXPECT_EQ(image[1].address, 0x100u);
  EXPECT_EQ(image[0].data ^ image[1].data, 0x11 ^ 0x22);
}

TEST_P(StreamerContract, NextLoadReplacesTheImage) {
  ASSERT_TRUE(plugin.LoadText(GetParam().walk));
  ASSERT_TRUE(plugin.LoadText(GetParam().other));
  EXPECT_EQ(plugin.Walk(), (std::vector<TImageByte>{{0x10, 0xAA}}));
}

INSTANTIATE_TEST_SUITE_P(Plugins, StreamerContract, testing::ValuesIn(contractFiles),
                         [](const auto& info) { return std::string(info.param.format); });

}  // namespace
