#include "sim_record.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <utility>

namespace {

void write_all(int fd, const uint8_t* bytes, size_t length) {
  while (length > 0) {
    ssize_t done = ::write(fd, bytes, length);
    if (done <= 0) return;
    bytes += done;
    length -= static_cast<size_t>(done);
  }
}

}  // namespace

TSimRecord::TSimRecord(std::string file) : path(std::move(file)) {}

void TSimRecord::Line(const std::string& text) const {
  if (path.empty()) return;
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return;
  std::string line = text + "\n";
  write_all(fd, reinterpret_cast<const uint8_t*>(line.data()), line.size());
  ::close(fd);
}

std::string sim_hex(const uint8_t* bytes, size_t length) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  text.reserve(2 * length);
  for (size_t i = 0; i < length; ++i) {
    text += digits[bytes[i] >> 4];
    text += digits[bytes[i] & 0x0F];
  }
  return text;
}

void sim_write_flash(const std::string& path, const std::vector<uint8_t>& flash) {
  if (path.empty()) return;
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return;
  write_all(fd, flash.data(), flash.size());
  ::close(fd);
}
