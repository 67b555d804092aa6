#include "stdout_capture.h"

#include <fcntl.h>
#if defined(_WIN32)
#include <io.h>
#include <sys/stat.h>
#else
#include <unistd.h>
#endif

#include <cstdio>
#include <iostream>
#include <stdexcept>

#include "file_io.h"

namespace testkit {

namespace {

void FlushStdout() {
  std::cout.flush();
  fflush(stdout);
}

#if defined(_WIN32)
constexpr int kStdout = 1;
int OpenCaptureFile(const std::string& path) {
  return _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_TEXT | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}
int Duplicate(int fd) { return _dup(fd); }
int Redirect(int from, int to) { return _dup2(from, to); }
void CloseFd(int fd) { _close(fd); }
#else
constexpr int kStdout = STDOUT_FILENO;
int OpenCaptureFile(const std::string& path) {
  return open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
}
int Duplicate(int fd) { return fcntl(fd, F_DUPFD_CLOEXEC, 0); }
int Redirect(int from, int to) { return dup2(from, to); }
void CloseFd(int fd) { close(fd); }
#endif

}  // namespace

TStdoutCapture::TStdoutCapture() {
  FlushStdout();
  const int file = OpenCaptureFile(dir_.File("stdout"));
  if (file < 0) throw std::runtime_error("cannot open the file that takes standard output");
  saved_ = Duplicate(kStdout);
  if (saved_ < 0 || Redirect(file, kStdout) < 0) {
    CloseFd(file);
    Restore();
    throw std::runtime_error("cannot redirect standard output");
  }
  CloseFd(file);
}

TStdoutCapture::~TStdoutCapture() { Restore(); }

void TStdoutCapture::Restore() {
  if (saved_ < 0) return;
  FlushStdout();
  Redirect(saved_, kStdout);
  CloseFd(saved_);
  saved_ = -1;
}

std::string TStdoutCapture::Text() {
  Restore();
  return ReadText(dir_.File("stdout"));
}

}  // namespace testkit
