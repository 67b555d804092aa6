#pragma once
// Fast path for the record fields of both readers: a field made of hex
// digits only. Anything else goes through the reader's own text conversion.
#include <cstddef>
#include <cstdint>

inline int hexfield_DigitValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

// True when the `count` characters at `text` (at most 8) are all hex digits;
// their value is then stored in `value`. Stops at the first other character,
// a NUL included, so it never reads past the end of a string.
inline bool hexfield_Digits(const char* text, size_t count, uint32_t& value) {
  uint32_t v = 0;
  for (size_t i = 0; i < count; ++i) {
    const int digit = hexfield_DigitValue(text[i]);
    if (digit < 0)
      return false;
    v = (v << 4) | static_cast<uint32_t>(digit);
  }
  value = v;
  return true;
}
