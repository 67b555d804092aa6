#include "fuzz_support.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

// Kept past the end of the program: the folder goes at exit.
const std::string& privateFolder() {
  static const std::string* folder = [] {
    const char* dir = std::getenv("TMPDIR");
    std::string pattern = std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") + "/tolvane-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) {
      std::perror("mkdtemp");
      std::abort();
    }
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(*folder, ignored);
    });
    return new std::string(pattern);
  }();
  return *folder;
}

}  // namespace

std::string fuzz_tempPath(const char* name) { return privateFolder() + "/" + name; }

void fuzz_silenceStdout() {
  if (std::getenv("TOLVANE_FUZZ_STDOUT")) return;
  std::fflush(stdout);
  const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (null >= 0) {
    dup2(null, STDOUT_FILENO);
    close(null);
  }
}

void fuzz_fail(const char* check) {
  std::fprintf(stderr, "fuzz check failed: %s\n", check);
  std::abort();
}
