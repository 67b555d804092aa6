#pragma once
// Small helpers the simulator's tests share.
#include <sys/types.h>

#include <string>

// A fresh folder of its own, removed with everything in it at the end.
class TTempDir {
 public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void writeTextFile(const std::string& path, const std::string& text);
std::string readTextFile(const std::string& path);

// Everything written on standard output (stdio and the descriptor) while
// the capture lives; text() ends it.
class TStdoutCapture {
 public:
  TStdoutCapture();
  ~TStdoutCapture();
  TStdoutCapture(const TStdoutCapture&) = delete;
  TStdoutCapture& operator=(const TStdoutCapture&) = delete;
  std::string text();

 private:
  void restore();
  TTempDir dir_;
  int saved_ = -1;
};

size_t countOf(const std::string& text, const std::string& part);

// The type and mode bits of what stands at `path` (not followed), 0 for nothing.
mode_t modeOf(const std::string& path);
