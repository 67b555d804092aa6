// GetLastErrorMsg: hands out the last error message.
#include <cstring>

#include "error_text.h"
#include "tolvane_export.h"

TOLVANE_EXPORT int GetLastErrorMsg(char* dstBuf, unsigned size) {
  const char* text = outplug_ErrorText();
  const size_t length = std::strlen(text);
  if (dstBuf != nullptr && size > 0) {
    const size_t copied = length < size ? length : size - 1;
    std::memcpy(dstBuf, text, copied);
    dstBuf[copied] = '\0';
  }
  return static_cast<int>(length);
}
