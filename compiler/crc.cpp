#include "crc.h"

#include "bytestream.h"
#include "codegen.h"
#include "errorframe.h"
#include "include/plccomp.h"

namespace {

uint16_t crcRegister = 0;
uint16_t crcPolynomial = 0;

// Reads the next image word, low byte first; gives whether the stream still
// has a current byte afterwards.
bool readWord(uint16_t& word) {
  const uint8_t low = GetCurrentByteData();
  GetNextByte();
  const uint8_t high = GetCurrentByteData();
  const bool more = GetNextByte();
  word = static_cast<uint16_t>(high << 8 | low);
  return more;
}

}  // namespace

uint32_t CrcBitByBit(const unsigned char* data, uint32_t length, uint32_t start, uint32_t poly, unsigned width) {
  if (width > 32) width = 32;
  if (width == 0) return 0;
  poly |= 1u;
  const uint32_t top = 1u << (width - 1);
  const uint32_t mask = top | (top - 1);
  uint32_t reg = start;
  for (uint32_t i = 0; i < length; ++i) {
    for (int bit = 7; bit >= 0; --bit) {
      const bool topSet = (reg & top) != 0;
      const bool dataBit = ((data[i] >> bit) & 1u) != 0;
      reg <<= 1;
      if (dataBit != topSet) reg ^= poly;
    }
  }
  return reg & mask;
}

bool CrcInit(uint32_t start, uint32_t poly) {
  crcPolynomial = static_cast<uint16_t>(poly | 1u);
  uint32_t reg = start & 0xFFFF;
  for (int i = 0; i < 16; ++i) reg = ((reg & 0x8000) ? (reg << 1) ^ poly : reg << 1) & 0xFFFF;
  crcRegister = static_cast<uint16_t>(reg);
  return true;
}

bool CrcUpdateWord(uint16_t word) {
  const unsigned char bytes[2] = {static_cast<unsigned char>(word >> 8), static_cast<unsigned char>(word & 0xFF)};
  crcRegister = static_cast<uint16_t>(CrcBitByBit(bytes, 2, crcRegister, crcPolynomial, 16));
  return true;
}

uint32_t CrcFinalXor(uint32_t value) { return value ^ crcRegister; }

void AddCRCtoEndOfProgram() {
  PLC_TRACE(TRACE_FAILURES, "AddCRCtoEndOfProgram():");
  if (!GetFirstByte()) {
    dbp("AddCRCtoEndOfProgram(): No first byte");
    return;
  }
  CrcInit(0, kCrcPolynomial);
  uint32_t bytesBefore = 0;
  // Pairs of bytes up to the first byte of the last record; an even settings
  // block makes the pairs fall on the record boundaries.
  uint16_t word;
  bool more = true;
  while (more && !plc_bsInLastRecord()) {
    more = readWord(word);
    CrcUpdateWord(word);
    bytesBefore += 2;
  }
  readWord(word);  // the last record's op word
  CrcUpdateWord(word);

  const uint32_t words = (bytesBefore + 6) / 2;
  BytecodeInstruction& end = PicProg.back();
  end.arg1 = static_cast<uint16_t>(words & 0xFFFF);
  end.arg2 = static_cast<uint16_t>(words >> 16);
  CrcUpdateWord(end.arg1);
  CrcUpdateWord(end.arg2);
  end.arg3 = static_cast<uint16_t>(kCrcPolynomial);
  end.literal = static_cast<uint16_t>(CrcFinalXor(kCrcFinalXorValue) & 0xFFFF);
  PLC_TRACE(TRACE_FAILURES, "AddCRCtoEndOfProgram() -> void");
}
