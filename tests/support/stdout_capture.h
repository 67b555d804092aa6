#pragma once
// Everything written on standard output (through stdio or the descriptor)
// while the capture lives; Text() ends it. Captures may nest.
#include <string>

#include "temp_dir.h"

namespace testkit {

class TStdoutCapture {
 public:
  TStdoutCapture();
  ~TStdoutCapture();
  TStdoutCapture(const TStdoutCapture&) = delete;
  TStdoutCapture& operator=(const TStdoutCapture&) = delete;

  std::string Text();

 private:
  void Restore();

  TTempDir dir_;
  int saved_ = -1;
};

}  // namespace testkit
