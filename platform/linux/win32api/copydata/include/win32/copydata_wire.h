#pragma once
// WM_COPYDATA between processes over a Unix-domain stream socket. A request
// is a 12-byte header (message number, dwData, cbData; each an unsigned
// 32-bit little-endian number) and cbData bytes; the answer is the window
// procedure's result as a signed 32-bit little-endian number.
#include <cstddef>
#include <cstdint>

const uint32_t W32_COPYDATA_MESSAGE = 0x004A;  // WM_COPYDATA, the only message carried
const size_t W32_COPYDATA_HEADER_SIZE = 12;
// The largest record carried, a bound for memory far above a request's size.
const uint32_t W32_COPYDATA_MAX_DATA = 1 << 20;
const size_t W32_COPYDATA_ANSWER_SIZE = 4;

struct TW32CopyDataHeader {
  uint32_t message;
  uint32_t dwData;
  uint32_t cbData;
};

void w32_putLittleEndian32(unsigned char* out, uint32_t value);
uint32_t w32_getLittleEndian32(const unsigned char* in);

void w32_encodeCopyDataHeader(const TW32CopyDataHeader& header, unsigned char* out);
TW32CopyDataHeader w32_decodeCopyDataHeader(const unsigned char* in);
