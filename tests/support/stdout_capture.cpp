#include "stdout_capture.h"

#include <cstdio>
#include <iostream>

#include "stdout_redirect.h"

namespace testkit {

namespace {

void FlushStdout() {
  std::cout.flush();
  fflush(stdout);
}

}  // namespace

TStdoutCapture::TStdoutCapture() {
  FlushStdout();
  saved_ = RedirectStdout(dir_.File("stdout"));
}

TStdoutCapture::~TStdoutCapture() { Restore(); }

void TStdoutCapture::Restore() {
  if (saved_ < 0) return;
  FlushStdout();
  RestoreStdout(saved_);
  saved_ = -1;
}

std::string TStdoutCapture::Text() {
  Restore();
  return dir_.Read("stdout");
}

}  // namespace testkit
