#include "temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

TTempDir::TTempDir() {
  const char* base = getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") +
                        "/tolvane-test-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (mkdtemp(name.data()) == nullptr)
    throw std::runtime_error("cannot create a temporary folder from " + pattern);
  path = name.data();
}

TTempDir::~TTempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}

std::string TTempDir::Write(const std::string& name, const std::string& content) const {
  const std::string file = path + "/" + name;
  std::ofstream out(file, std::ios::binary);
  out << content;
  if (!out)
    throw std::runtime_error("cannot write " + file);
  return file;
}

std::string tests_ProgramDir() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}
