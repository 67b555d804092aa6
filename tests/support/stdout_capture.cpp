#include "stdout_capture.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <stdexcept>

namespace testkit {

namespace {

void FlushStdout() {
  std::cout.flush();
  fflush(stdout);
}

}  // namespace

TStdoutCapture::TStdoutCapture() {
  FlushStdout();
  const int file = open(dir_.File("stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (file < 0) throw std::runtime_error("cannot open the file that takes standard output");
  saved_ = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
  if (saved_ < 0 || dup2(file, STDOUT_FILENO) < 0) {
    close(file);
    Restore();
    throw std::runtime_error("cannot redirect standard output");
  }
  close(file);
}

TStdoutCapture::~TStdoutCapture() { Restore(); }

void TStdoutCapture::Restore() {
  if (saved_ < 0) return;
  FlushStdout();
  dup2(saved_, STDOUT_FILENO);
  close(saved_);
  saved_ = -1;
}

std::string TStdoutCapture::Text() {
  Restore();
  return dir_.Read("stdout");
}

}  // namespace testkit
