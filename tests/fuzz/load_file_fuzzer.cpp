// Feeds arbitrary files to an input plug-in's LoadFile and walks what it
// serves: no crash, no overrun, and a successful load is strictly ascending.
#include "input_plugin.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string inputPath;
int inputFile = -1;

void removeInput() { unlink(inputPath.c_str()); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const char* dir = getenv("TMPDIR");
  std::string pattern = std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") + "/tolvane-fuzz-XXXXXX";
  const int fd = mkstemp(pattern.data());
  if (fd < 0) {
    perror("mkstemp");
    abort();
  }
  inputFile = fd;
  inputPath = pattern;
  atexit(removeInput);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Rewriting one open file is far cheaper than creating one per input.
  if (ftruncate(inputFile, 0) != 0 || pwrite(inputFile, data, size, 0) != static_cast<ssize_t>(size)) abort();

  const bool loaded = LoadFile(inputPath.c_str());
  bool first = true;
  uint32_t previous = 0;
  for (bool more = GetFirstByte(); more; more = GetNextByte()) {
    const uint32_t address = GetCurrentByteAddress();
    (void)GetCurrentByteData();
    if (loaded && !first && address <= previous) __builtin_trap();
    first = false;
    previous = address;
  }
  if (GetNextByte()) __builtin_trap();
  return 0;
}
