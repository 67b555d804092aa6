#include <win32/copydata_wire.h>

void w32_putLittleEndian32(unsigned char* out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<unsigned char>(value >> (8 * i));
}

uint32_t w32_getLittleEndian32(const unsigned char* in) {
  return uint32_t(in[0]) | uint32_t(in[1]) << 8 | uint32_t(in[2]) << 16 | uint32_t(in[3]) << 24;
}

void w32_encodeCopyDataHeader(const TW32CopyDataHeader& header, unsigned char* out) {
  w32_putLittleEndian32(out, header.message);
  w32_putLittleEndian32(out + 4, header.dwData);
  w32_putLittleEndian32(out + 8, header.cbData);
}

TW32CopyDataHeader w32_decodeCopyDataHeader(const unsigned char* in) {
  return {w32_getLittleEndian32(in), w32_getLittleEndian32(in + 4), w32_getLittleEndian32(in + 8)};
}
