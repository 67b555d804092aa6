#include "temp_dir.h"

#include <filesystem>

#include "file_io.h"
#include "temp_folder.h"

namespace testkit {

TTempDir::TTempDir() : path_(MakeTempFolder()) {}

TTempDir::~TTempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TTempDir::Write(const std::string& name, const std::string& content) const {
  const std::string file = File(name);
  WriteFile(file, content);
  return file;
}

std::string TTempDir::Read(const std::string& name) const { return ReadFile(File(name)); }

}  // namespace testkit
