#pragma once
// Reads an Intel HEX file into the memory image.
#include "intface.h"

class TIHEXReader : public TFileFormatReader {
 public:
  bool ReadFile(const char* path) override;

  // Converts the first `len` characters of `src` (fewer when a NUL comes
  // first) as base-16 text: 0 for an empty field, -1 when the text is not a
  // number as a whole or is longer than a field can be.
  static long hex2Number(const char* src, int len);
};
