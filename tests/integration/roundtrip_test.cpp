// Files our writers make, read back by our readers; and the chains a host
// builds from them: a file loaded by an input plug-in and saved by an output
// plug-in attached to it.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "producer_paths.h"
#include "writer_under_test.h"

namespace integ {
namespace {

using outtest::Bytes;
using outtest::RandomGappedImage;
using outtest::Sequence;
using outtest::TImage;
using outtest::TModule;
using outtest::TWriterUnderTest;

struct TNamedImage {
  std::string name;
  TImage image;
};

const TNamedImage IMAGES[] = {
    {"one byte at 0", Bytes(0, {0x5A})},
    {"gapped", RandomGappedImage(1, 0x100, 300)},
    {"full records followed by jumps", Sequence(0, 16) + Sequence(0x20, 32, 0x40) + Sequence(0x41, 1)},
    {"records across 64 KiB boundaries", Sequence(0xFFF8, 24) + Sequence(0x1FFFF, 2, 0x66) + Sequence(0x2FFF0, 16)},
    {"above 64 KiB", RandomGappedImage(2, 0x123456, 200) + Sequence(0x7FFFFFF0, 40)},
    {"random over several 64 KiB blocks", RandomGappedImage(3, 0x2FF00, 4000)},
    {"ending at the top address", Sequence(0, 5) + Sequence(0xFFFF0000, 3) + Sequence(0xFFFFFF00, 256, 0x10)},
    {"ending at the top mid-record", Sequence(0xFFFFFFE7, 25)},
    {"only the top address", Bytes(0xFFFFFFFF, {0xAB})},
    // More S3 records than the S5 record can count.
    {"65537 records", Sequence(0x10000, 0x10001 * 16, 7)},
};

// first format (written from the test's image and loaded back), second
// format (saved from the loaded file by the plug-in attached to its reader).
class ChainTest : public ::testing::TestWithParam<std::tuple<std::string, std::string>> {
 protected:
  const std::string firstKey = std::get<0>(GetParam());
  const std::string secondKey = std::get<1>(GetParam());
};

TEST_P(ChainTest, ImagesSurviveEveryLink) {
  TWriterUnderTest firstWriter(firstKey);
  auto firstReader = TModule::LoadCopy(ReaderPath(firstKey), firstWriter.Dir().Path());
  TWriterUnderTest secondWriter(secondKey, TWriterUnderTest::UNBOUND);
  auto secondReader = TModule::LoadCopy(ReaderPath(secondKey), secondWriter.Dir().Path());
  ASSERT_TRUE(secondWriter.Plugin().attachToDLL(firstReader->Handle())) << secondWriter.Plugin().LastError();

  for (const TNamedImage& named : IMAGES) {
    SCOPED_TRACE(named.name);
    const std::string firstFile = firstWriter.Save(named.image);
    ASSERT_NE(firstFile.rfind("SaveAs failed", 0), 0u) << firstFile;
    ASSERT_TRUE(LoadImageFile(*firstReader, firstWriter.LastFile()));
    ASSERT_EQ(outtest::ReadImage(*firstReader), named.image) << firstKey << " file read back";

    const std::string secondFile = secondWriter.Save({});
    ASSERT_NE(secondFile.rfind("SaveAs failed", 0), 0u) << secondFile;
    ASSERT_TRUE(LoadImageFile(*secondReader, secondWriter.LastFile()));
    EXPECT_EQ(outtest::ReadImage(*secondReader), named.image) << secondKey << " file saved from the loaded file";
    if (firstKey == secondKey) {
      EXPECT_EQ(secondFile, firstFile) << "a file loaded and saved again is unchanged";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(S19AndIHEX, ChainTest,
                         ::testing::Combine(::testing::ValuesIn(RoundTripKeys()), ::testing::ValuesIn(RoundTripKeys())),
                         [](const auto& info) { return std::get<0>(info.param) + "_to_" + std::get<1>(info.param); });

}  // namespace
}  // namespace integ
