#include "sim_image_check.h"

namespace {

constexpr uint16_t crc_polynomial = 0x4163;
constexpr uint16_t crc_final_mask = 0x8283;
constexpr uint16_t op_end_of_program = 0x00FF;
constexpr uint16_t op_erased = 0xFFFF;

uint16_t word_at(const std::vector<uint8_t>& flash, size_t address) {
  return static_cast<uint16_t>(flash[address] | flash[address + 1] << 8);
}

}  // namespace

uint16_t sim_crc16(uint16_t crc, const uint8_t* bytes, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    crc = static_cast<uint16_t>(crc ^ bytes[i] << 8);
    for (int bit = 0; bit < 8; ++bit)
      crc = static_cast<uint16_t>(crc & 0x8000 ? (crc << 1) ^ crc_polynomial : crc << 1);
  }
  return crc;
}

uint16_t sim_crc16_words(const uint8_t* bytes, size_t count) {
  uint16_t crc = 0;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t swapped[2] = {bytes[2 * i + 1], bytes[2 * i]};
    crc = sim_crc16(crc, swapped, 2);
  }
  return crc;
}

TSimImageVerdict sim_check_image(const std::vector<uint8_t>& flash) {
  TSimImageVerdict verdict;
  size_t address = SIM_CODE_START;
  for (;; address += SIM_RECORD_SIZE) {
    if (address + SIM_RECORD_SIZE > flash.size()) return verdict;
    const uint16_t op = word_at(flash, address);
    if (op == op_erased) return verdict;
    if (op == op_end_of_program) break;
  }
  verdict.address = static_cast<uint32_t>(address);
  verdict.words = word_at(flash, address + 2) | static_cast<uint32_t>(word_at(flash, address + 4)) << 16;
  const uint16_t polynomial = word_at(flash, address + 6);
  const uint16_t literal = word_at(flash, address + 8);
  // The count covers every word before the record and its first three words.
  if (polynomial != crc_polynomial || verdict.words != (address + 6) / 2) {
    verdict.reason = SIM_IMAGE_BAD_PROGEND;
    return verdict;
  }
  verdict.crc = sim_crc16_words(flash.data(), verdict.words);
  verdict.reason = (verdict.crc ^ crc_final_mask) == literal ? SIM_IMAGE_OK : SIM_IMAGE_CRC_ERROR;
  return verdict;
}
