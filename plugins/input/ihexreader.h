#pragma once
// Reads an Intel HEX file into the memory image.
#include <cstdint>

#include "intface.h"

class TIHEXReader : public TFileFormatReader {
 public:
  bool ReadFile(const char* path) override;

  // Converts the first `len` characters of `src` (fewer when a NUL comes
  // first) as base-16 text: 0 for an empty field, -1 when the text is not a
  // number as a whole or is longer than a field can be. 64 bits wide on every
  // platform, so that eight digits never come out negative.
  static int64_t hex2Number(const char* src, int len);
};
