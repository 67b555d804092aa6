#pragma once
// One file format's rules for turning the byte stream into lines. A writer
// object lives for one save, so every save starts from a fresh state.
#include <cstdint>

#include "line_file.h"

class TFormatWriter {
 public:
  virtual ~TFormatWriter() = default;
  // Each returns false when a write failed; the save stops there.
  virtual bool PutByte(TLineFile& out, uint32_t address, uint8_t data) = 0;
  virtual bool Finish(TLineFile& out) = 0;
};

// The file writers' SaveAs body: opens the file, walks the image through the
// bound routines into `writer`, lets it write its trailer and closes the file.
bool outplug_WriteFile(const char* fileName, TFormatWriter& writer);

// The whole body of a file writer whose format is `Writer`.
template <typename Writer>
bool outplug_WriteFileAs(const char* fileName) {
  Writer writer;
  return outplug_WriteFile(fileName, writer);
}
