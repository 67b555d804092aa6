#include "console_say.h"

#include <cstdarg>
#include <cstdio>

void console_say(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
  std::fflush(stdout);
}
