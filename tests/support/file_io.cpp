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
