#include "modulepath.h"

#include <unistd.h>

size_t plat_moduleFileName(char* buf, size_t size) {
  if (!buf || size == 0) return 0;
  buf[0] = '\0';
  // readlink does not terminate and reports a cut name as a full buffer.
  ssize_t length = readlink("/proc/self/exe", buf, size);
  if (length <= 0 || static_cast<size_t>(length) >= size) {
    buf[0] = '\0';
    return 0;
  }
  buf[length] = '\0';
  return static_cast<size_t>(length);
}
