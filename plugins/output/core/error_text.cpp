#include "error_text.h"

#include <cstdarg>
#include <cstdio>

const char* const OUTPLUG_NULL_ASSIGNMENT = "NULL assignment attempt to '%s' function";
const char* const OUTPLUG_CANNOT_WRITE = "Couldn't write to '%s'.";

namespace {
char errorText[512];
}

void outplug_SetError(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vsnprintf(errorText, sizeof errorText, format, args);
  va_end(args);
}

const char* outplug_ErrorText() { return errorText; }
