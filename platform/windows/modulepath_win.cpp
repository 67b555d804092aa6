#include <windows.h>

#include "modulepath.h"

size_t plat_moduleFileName(char* buf, size_t size) {
  if (!buf || size == 0) return 0;
  buf[0] = '\0';
  const DWORD capacity = size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size);
  // A name that does not fit comes back cut, with the buffer's full length.
  const DWORD length = GetModuleFileNameA(nullptr, buf, capacity);
  if (length == 0 || length >= capacity) {
    buf[0] = '\0';
    return 0;
  }
  return length;
}
