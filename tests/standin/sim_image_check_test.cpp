// The firmware's start check, against values worked out by hand from the
// image layout (not with the code under test).
#include <gtest/gtest.h>

#include <string>

#include "sim_image_check.h"
#include "standin_images.h"

namespace {

using TBytes = std::vector<uint8_t>;

TBytes bytes_of(const std::string& text) { return TBytes(text.begin(), text.end()); }

TBytes in_flash(const TBytes& image, uint8_t fill = 0xFF) {
  TBytes flash(0x1000, fill);
  std::copy(image.begin(), image.end(), flash.begin());
  return flash;
}

TEST(SimCrc, CheckValuesOverPlainBytes) {
  const struct {
    std::string text;
    uint16_t crc;
  } cases[] = {{"123456789", 0x790D}, {"abc", 0x7BA0}, {"", 0x0000}};
  for (const auto& c : cases) {
    const TBytes data = bytes_of(c.text);
    EXPECT_EQ(sim_crc16(0, data.data(), data.size()), c.crc) << c.text;
  }
}

TEST(SimCrc, WordsAreFedHighByteFirst) {
  const struct {
    TBytes image;
    uint16_t crc;
  } cases[] = {
      {{0xFF, 0x00, 0x03, 0x00, 0x00, 0x00}, 0x548C},
      {{0x34, 0x12, 0x01, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x09, 0x00, 0x00, 0x00},
       0xC1E4},
  };
  for (const auto& c : cases) EXPECT_EQ(sim_crc16_words(c.image.data(), c.image.size() / 2), c.crc);
}

TEST(SimImageCheck, AcceptsAValidImage) {
  const TSimImageVerdict verdict = sim_check_image(in_flash(standin_valid_image()));
  EXPECT_EQ(verdict.reason, SIM_IMAGE_OK);
  EXPECT_EQ(verdict.words, STANDIN_VALID_IMAGE_WORDS);
  EXPECT_EQ(verdict.crc, STANDIN_VALID_IMAGE_CRC);
  EXPECT_EQ(verdict.address, 0xDAu);
}

TEST(SimImageCheck, RefusesWithTheStopReasonOfTheFault) {
  const struct {
    const char* what;
    size_t offset;  // byte changed in the valid image; SIZE_MAX: none
    uint8_t value;
    uint8_t fill;  // of the flash behind the image
    unsigned reason;
  } cases[] = {
      {"settings byte changed", 17, 0x01, 0xFF, SIM_IMAGE_CRC_ERROR},
      {"instruction changed", 0xD2, 0x06, 0xFF, SIM_IMAGE_CRC_ERROR},
      {"literal changed", 0xE2, 0xAD, 0xFF, SIM_IMAGE_CRC_ERROR},
      {"end record lost", 0xDA, 0xFE, 0xFF, SIM_IMAGE_NO_PROGEND},
      {"end record lost, no erased flash behind", 0xDA, 0xFE, 0x00, SIM_IMAGE_NO_PROGEND},
      {"polynomial word wrong", 0xE0, 0x64, 0xFF, SIM_IMAGE_BAD_PROGEND},
      {"word count wrong", 0xDC, 0x71, 0xFF, SIM_IMAGE_BAD_PROGEND},
      {"word count high half set", 0xDE, 0x01, 0xFF, SIM_IMAGE_BAD_PROGEND},
  };
  for (const auto& c : cases) {
    TBytes image = standin_valid_image();
    image[c.offset] = c.value;
    EXPECT_EQ(sim_check_image(in_flash(image, c.fill)).reason, c.reason) << c.what;
  }
}

TEST(SimImageCheck, ErasedOrTinyFlashHasNoEndRecord) {
  EXPECT_EQ(sim_check_image(TBytes(0x1000, 0xFF)).reason, SIM_IMAGE_NO_PROGEND);
  EXPECT_EQ(sim_check_image(TBytes(0xD5, 0x00)).reason, SIM_IMAGE_NO_PROGEND);
  EXPECT_EQ(sim_check_image(TBytes()).reason, SIM_IMAGE_NO_PROGEND);
}

}  // namespace
