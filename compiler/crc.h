#pragma once
// CRC-16 of the image and the END_OF_PROGRAM trailer that carries it.
#include <cstdint>

constexpr uint32_t kCrcPolynomial = 0x4163;
constexpr uint32_t kCrcFinalXorValue = 0x8283;

// Generic bit-by-bit CRC, most significant bit first, no reflection. width
// above 32 counts as 32; the result is masked to width bits.
uint32_t CrcBitByBit(const unsigned char* data, uint32_t length, uint32_t start, uint32_t poly, unsigned width);

// The library's CRC state: a 16-bit register and the stored polynomial.
bool CrcInit(uint32_t start, uint32_t poly);
bool CrcUpdateWord(uint16_t word);  // high byte first
uint32_t CrcFinalXor(uint32_t value);

// Fills the END_OF_PROGRAM record (the last record of PicProg) with the word
// count and CRC-16 of the image read back through the byte stream.
void AddCRCtoEndOfProgram();
