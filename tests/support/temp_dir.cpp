#include "temp_dir.h"

#include <stdlib.h>

#include <filesystem>
#include <random>
#include <stdexcept>

#include "file_io.h"

namespace fs = std::filesystem;

namespace testkit {

namespace {

// Where temporary folders go: the system's temporary folder on Windows;
// else TMPDIR (an empty one counts as unset, as it does for the shell's
// tools) or /tmp.
fs::path TempBase() {
#if defined(_WIN32)
  return fs::temp_directory_path();
#else
  const char* base = getenv("TMPDIR");
  return base != nullptr && *base != '\0' ? base : "/tmp";
#endif
}

}  // namespace

TTempDir::TTempDir() {
  const fs::path base = TempBase();
  std::random_device seed;
  std::mt19937 random(seed());
  const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  // A new name until one is free: the folder is ours only when we created it.
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = "tolvane-test-";
    for (int i = 0; i < 8; ++i) name += letters[random() % (sizeof letters - 1)];
    std::error_code error;
    if (fs::create_directory(base / name, error)) {
      path_ = (base / name).string();
      return;
    }
    if (error) break;
  }
  throw std::runtime_error("cannot create a temporary folder in " + base.string());
}

TTempDir::~TTempDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string TTempDir::File(const std::string& name) const { return (fs::path(path_) / name).string(); }

std::string TTempDir::Write(const std::string& name, const std::string& content) const {
  const std::string file = File(name);
  WriteFile(file, content);
  return file;
}

std::string TTempDir::Read(const std::string& name) const { return ReadFile(File(name)); }

}  // namespace testkit
