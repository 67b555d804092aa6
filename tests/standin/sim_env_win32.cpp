#include <windows.h>

#include <vector>

#include "sim_env.h"

bool sim_env(const char* name, std::string& value) {
  std::vector<char> text(256);
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    const DWORD length = GetEnvironmentVariableA(name, text.data(), static_cast<DWORD>(text.size()));
    if (length == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return false;
      value.clear();
      return true;
    }
    // Too small: the answer is the size needed, terminator included.
    if (length < text.size()) {
      value.assign(text.data(), length);
      return true;
    }
    text.resize(length);
  }
}
