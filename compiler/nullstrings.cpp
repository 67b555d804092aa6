#include "nullstrings.h"

#include <cstring>

#include "trace.h"

int strcmpnull(const char* a, const char* b) {
  if (a == b) {
    PLC_TRACE(TRACE_DETAIL, "strcmpnull(%s%s%s, %s%s%s) => 0", PLC_Q(a), PLC_Q(b));
    return 0;
  }
  if (!a) {
    PLC_TRACE(TRACE_DETAIL, "strcmpnull(%s%s%s, %s%s%s) => -1", PLC_Q(a), PLC_Q(b));
    return -1;
  }
  if (!b) {
    PLC_TRACE(TRACE_DETAIL, "strcmpnull(%s%s%s, %s%s%s) => 1", PLC_Q(a), PLC_Q(b));
    return 1;
  }
  int result = std::strcmp(a, b);
  PLC_TRACE(TRACE_DETAIL, "strcmpnull(\"%s\", \"%s\") => %d", a, b, result);
  return result;
}

unsigned strlennull(const char* s) {
  if (!s) {
    PLC_TRACE(TRACE_DETAIL, "strlennull(NULL) => 0");
    return 0;
  }
  unsigned length = static_cast<unsigned>(std::strlen(s));
  PLC_TRACE(TRACE_DETAIL, "strlennull(\"%s\") => %d", s, static_cast<int>(length));
  return length;
}
