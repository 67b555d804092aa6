#pragma once
// Fast path for the record fields of both readers: fields made of hex digits
// only. Anything else goes through the reader's own text conversion.
#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr std::array<int8_t, 256> hexfield_digits = [] {
  std::array<int8_t, 256> table{};
  for (auto& entry : table) entry = -1;
  for (int c = '0'; c <= '9'; ++c) table[c] = static_cast<int8_t>(c - '0');
  for (int c = 'A'; c <= 'F'; ++c) table[c] = static_cast<int8_t>(c - 'A' + 10);
  for (int c = 'a'; c <= 'f'; ++c) table[c] = static_cast<int8_t>(c - 'a' + 10);
  return table;
}();

// The value of a hex digit, -1 for any other character.
inline int hexfield_DigitValue(char c) { return hexfield_digits[static_cast<unsigned char>(c)]; }

// The value of two hex digits, -1 when either is none. Reads the second
// character only after a digit, so it stops at a NUL.
inline int hexfield_Pair(const char* text) {
  const int high = hexfield_DigitValue(text[0]);
  if (high < 0) return -1;
  const int low = hexfield_DigitValue(text[1]);
  return low < 0 ? -1 : (high << 4) | low;
}

// True when the `count` characters at `text` (at most 8) are all hex digits;
// their value is then stored in `value`. Stops at the first other character,
// a NUL included.
inline bool hexfield_Digits(const char* text, size_t count, uint32_t& value) {
  uint32_t v = 0;
  for (size_t i = 0; i < count; ++i) {
    const int digit = hexfield_DigitValue(text[i]);
    if (digit < 0) return false;
    v = (v << 4) | static_cast<uint32_t>(digit);
  }
  value = v;
  return true;
}
