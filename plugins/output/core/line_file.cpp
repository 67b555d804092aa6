#include "line_file.h"

#include <cstdarg>

TLineFile::~TLineFile() { Close(); }

bool TLineFile::Open(const char* fileName) {
  Close();
  file_ = std::fopen(fileName, "w");
  return file_ != nullptr;
}

bool TLineFile::Print(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int written = std::vfprintf(file_, format, args);
  va_end(args);
  // A buffered write only fails visibly at the flush, so both count.
  const bool flushed = std::fflush(file_) == 0;
  return written >= 0 && flushed;
}

bool TLineFile::Close() {
  if (file_ == nullptr) return true;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  return closed;
}
