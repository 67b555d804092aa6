#pragma once
// The controller firmware's check of a loaded image before it starts it:
// the END_OF_PROGRAM record and the CRC-16 it carries.
#include <cstddef>
#include <cstdint>
#include <vector>

// Stop reasons of the check.
enum TSimImageReason : unsigned {
  SIM_IMAGE_OK = 0,
  SIM_IMAGE_CRC_ERROR = 2,
  SIM_IMAGE_NO_PROGEND = 3,
  SIM_IMAGE_BAD_PROGEND = 4,
};

struct TSimImageVerdict {
  unsigned reason = SIM_IMAGE_NO_PROGEND;
  uint32_t words = 0;    // word count that the record declares
  uint16_t crc = 0;      // CRC-16 computed over those words
  uint32_t address = 0;  // where the record was found
};

// The byte code starts behind the 208-byte settings block.
constexpr uint32_t SIM_CODE_START = 0xD0;
constexpr size_t SIM_RECORD_SIZE = 10;

// CRC-16, polynomial 0x4163, start 0, most significant bit first, no final XOR.
uint16_t sim_crc16(uint16_t crc, const uint8_t* bytes, size_t length);

// The CRC over count little-endian words, each fed high byte first.
uint16_t sim_crc16_words(const uint8_t* bytes, size_t count);

TSimImageVerdict sim_check_image(const std::vector<uint8_t>& flash);
