#pragma once
// A text file written a line (or a record) at a time and flushed after each,
// so that what was written before a failure is on disk.
#include <cstdio>

class TLineFile {
 public:
  TLineFile() = default;
  TLineFile(const TLineFile&) = delete;
  TLineFile& operator=(const TLineFile&) = delete;
  ~TLineFile();

  // Creates or truncates the file.
  bool Open(const char* fileName);
  // Formats, writes and flushes; false when any of it failed.
  bool Print(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // False when the file could not be closed cleanly (data may be lost).
  bool Close();

 private:
  std::FILE* file_ = nullptr;
};
