// Every output plug-in attached to the real producers (both input plug-ins
// and the compiler library) by their module handles, as a host does.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "compiled_image.h"
#include "file_io.h"
#include "producer_paths.h"
#include "test_paths.h"
#include "writer_under_test.h"

namespace integ {
namespace {

using outtest::TImage;
using outtest::TModule;
using outtest::TWriterUnderTest;
using testkit::TTempDir;

struct TImageFile {
  std::string text;
  TImage image;
};

// Two files a reader loads one after the other, written by hand (records
// out of address order, a header, 32-bit addresses), and what they hold.
TImageFile ReaderFile(const std::string& key, int round) {
  using outtest::Bytes;
  if (key == "s19") {
    if (round == 0)
      return {"S0030000FC\nS3080001234501020388\nS1050010AABB85\nS30600000100AA4E\nS9030000FC\n",
              Bytes(0x10, {0xAA, 0xBB}) + Bytes(0x100, {0xAA}) + Bytes(0x12345, {1, 2, 3})};
    return {"S1050010AABB85\nS9030000FC\n", Bytes(0x10, {0xAA, 0xBB})};
  }
  if (round == 0)
    return {":020000040001F9\n:0100000055AA\n:020000040000FA\n:02001000AABB89\n:00000001FF\n",
            Bytes(0x10, {0xAA, 0xBB}) + Bytes(0x10000, {0x55})};
  return {":0100000055AA\n:00000001FF", Bytes(0, {0x55})};
}

void ExpectContiguousFrom(const TImage& image, uint32_t start) {
  for (size_t i = 0; i < image.size(); ++i) ASSERT_EQ(image[i].address, start + i) << "byte " << i;
}

// The host's step `round` (0, then 1) on the producer: a file loaded, or a
// program compiled; the image the producer then serves.
TImage PrepareProducer(const std::string& key, const TModule& producer, const TTempDir& dir, int round) {
  if (key == "plccomp") {
    const uint32_t flashStart = round == 0 ? 0 : 0x100;
    CompileSample(producer.Handle(), flashStart, round == 0 ? 3 : 9);
    const TImage image = outtest::ReadImage(producer);
    ExpectContiguousFrom(image, flashStart);
    const std::vector<uint8_t> settings = SampleSettings();
    EXPECT_GT(image.size(), settings.size());
    for (size_t i = 0; i < settings.size() && i < image.size(); ++i) EXPECT_EQ(image[i].data, settings[i]) << i;
    return image;
  }
  const TImageFile file = ReaderFile(key, round);
  const std::string path = dir.File("image" + std::to_string(round));
  testkit::WriteFile(path, file.text);
  EXPECT_TRUE(LoadImageFile(producer, path));
  EXPECT_EQ(outtest::ReadImage(producer), file.image);
  return file.image;
}

std::string ProducerPath(const std::string& key) { return key == "plccomp" ? CompilerPath() : ReaderPath(key); }

// writer key, producer key ("s19", "ihex" for the readers, or "plccomp").
class AttachTest : public ::testing::TestWithParam<std::tuple<std::string, std::string>> {
 protected:
  const std::string writerKey = std::get<0>(GetParam());
  const std::string producerKey = std::get<1>(GetParam());
};

TEST_P(AttachTest, SaveWritesTheProducersImage) {
  TTempDir dir;
  auto producer = TModule::LoadCopy(ProducerPath(producerKey), dir.Path());
  TWriterUnderTest attached(writerKey, TWriterUnderTest::UNBOUND);
  ASSERT_TRUE(attached.Plugin().attachToDLL(producer->Handle())) << attached.Plugin().LastError();
  EXPECT_EQ(attached.Plugin().LastError(), "");

  // The slots stay bound across the host's next load or compile.
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const TImage image = PrepareProducer(producerKey, *producer, dir, round);
    TWriterUnderTest reference(writerKey);
    const std::string expected = reference.Save(image);
    ASSERT_NE(expected.rfind("SaveAs failed", 0), 0u) << expected;
    // Served nothing by the test itself: what is saved comes from the producer.
    EXPECT_EQ(attached.Save({}), expected);
    EXPECT_EQ(attached.Save({}), expected) << "a second save rewinds the producer";
  }
}

INSTANTIATE_TEST_SUITE_P(EveryWriterOnEveryProducer, AttachTest,
                         ::testing::Combine(::testing::ValuesIn(outtest::FileWriterKeys()),
                                            ::testing::Values("s19", "ihex", "plccomp")),
                         [](const auto& info) {
                           return std::get<0>(info.param) + "_on_" +
                                  (std::get<1>(info.param) == "plccomp" ? "plccomp" : "rd_" + std::get<1>(info.param));
                         });

}  // namespace
}  // namespace integ
