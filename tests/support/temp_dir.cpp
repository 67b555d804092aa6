#include "temp_dir.h"

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>

#include "file_io.h"

namespace testkit {

TTempDir::TTempDir() {
  // An empty TMPDIR counts as unset, as it does for the shell's tools.
  const char* base = getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/tolvane-test-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder from " + pattern);
  path_ = pattern;
}

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
