#include "trace.h"

#include <cstdio>
#include <cstring>

// Debugging is on from load until the host's first total reset.
bool dll_debug = true;
uint32_t dll_traceMask = 0x1001;

namespace {
constexpr int kLineBufferSize = 10240;
}

void dbp_va(const char* format, va_list args) {
  if (!dll_debug) return;
  char line[kLineBufferSize];
  std::strcpy(line, "NULL");
  if (format) {
    int needed = std::vsnprintf(line, sizeof line, format, args);
    if (needed < 0) line[0] = '\0';
    if (needed >= kLineBufferSize) std::puts("dbp_va(): printf buffer too small, error message truncated");
  }
  std::puts(line);
}

void dbp(const char* format, ...) {
  if (!dll_debug) return;
  va_list args;
  va_start(args, format);
  dbp_va(format, args);
  va_end(args);
}

void debugTracePrint(int mask, int sourceLine, const char* sourceFile, const char* format, ...) {
  if ((static_cast<uint32_t>(mask) & dll_traceMask) == 0 || !dll_debug) return;
  // First pass: the caller's format behind the position prefix; the second
  // pass formats the caller's arguments into it.
  char prefixed[kLineBufferSize];
  std::strcpy(prefixed, "NULL");
  if (format) {
    int needed = std::snprintf(prefixed, sizeof prefixed, "TRACE://%s/%d:%s", sourceFile, sourceLine, format);
    if (needed >= kLineBufferSize) dbp("debugTracePrint(): printf buffer too small, error message truncated");
  }
  va_list args;
  va_start(args, format);
  dbp_va(prefixed, args);
  va_end(args);
}
