#pragma once
// Images for tests, worked out by hand from the image layout rather than by
// the code under test.
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <vector>

// A 208-byte settings block of zeros, one SET_BIT record and END_OF_PROGRAM:
// 112 words up to the record's count, CRC-16 0xF72F, literal 0xF72F ^ 0x8283.
inline std::vector<uint8_t> standin_valid_image() {
  const uint8_t code[] = {0x01, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                          0xFF, 0x00, 0x70, 0x00, 0x00, 0x00, 0x63, 0x41, 0xAC, 0x75};
  // Sized at once: GCC 12 misreads a growing insert here (-Warray-bounds).
  std::vector<uint8_t> image(208 + sizeof code, 0);
  std::copy(std::begin(code), std::end(code), image.begin() + 208);
  return image;
}

constexpr uint16_t STANDIN_VALID_IMAGE_WORDS = 112;
constexpr uint16_t STANDIN_VALID_IMAGE_CRC = 0xF72F;
