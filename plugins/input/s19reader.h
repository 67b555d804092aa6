#pragma once
// Reads a Motorola S-record file into the memory image.
#include "intface.h"

class TS19Reader : public TFileFormatReader {
 public:
  bool ReadFile(const char* path) override;
};
