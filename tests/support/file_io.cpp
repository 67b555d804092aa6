#include "file_io.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testkit {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

bool HasPlatformLineEnds(const std::string& written) {
#if defined(_WIN32)
  const bool crlf = true;
#else
  const bool crlf = false;
#endif
  for (size_t i = 0; i < written.size(); ++i) {
    const bool afterCr = i > 0 && written[i - 1] == '\r';
    if (written[i] == '\n' && afterCr != crlf) return false;
  }
  return true;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  const std::string content = ReadFile(path);
  return std::vector<uint8_t>(content.begin(), content.end());
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path);
}

bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

}  // namespace testkit
