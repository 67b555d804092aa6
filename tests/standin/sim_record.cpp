#include "sim_record.h"

#include <cstdio>
#include <utility>

namespace {

// Opened and closed for every write, so that what was written is in the
// file even when the program dies right after.
void write_file(const std::string& path, const char* mode, const void* bytes, size_t length) {
  if (path.empty()) return;
  std::FILE* file = std::fopen(path.c_str(), mode);
  if (!file) return;
  std::fwrite(bytes, 1, length, file);
  std::fclose(file);
}

}  // namespace

TSimRecord::TSimRecord(std::string file) : path(std::move(file)) {}

void TSimRecord::Line(const std::string& text) const {
  const std::string line = text + "\n";
  write_file(path, "ab", line.data(), line.size());
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
  write_file(path, "wb", flash.data(), flash.size());
}
