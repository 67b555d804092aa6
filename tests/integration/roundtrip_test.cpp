// Files our writers make, read back by our readers; and the chains a host
// builds from them: a file loaded by an input plug-in and saved by an output
// plug-in attached to it.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "producer_paths.h"
#include "sample_images.h"
#include "writer_under_test.h"

namespace integ {
namespace {

using outtest::TModule;
using outtest::TWriterUnderTest;

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

  for (const TNamedImage& named : SampleImages()) {
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
