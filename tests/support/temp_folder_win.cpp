#include <windows.h>

#include <stdexcept>
#include <string>

#include "temp_folder.h"

namespace testkit {

std::string MakeTempFolder() {
  char base[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(sizeof base, base);
  if (length == 0 || length > MAX_PATH) throw std::runtime_error("no folder for temporary files");
  // CreateDirectory fails on a name that exists: the next number is tried.
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    const std::string folder = std::string(base) + "tolvane-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(GetTickCount()) + "-" + std::to_string(counter++);
    if (CreateDirectoryA(folder.c_str(), nullptr)) return folder;
    if (GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  throw std::runtime_error(std::string("cannot create a temporary folder in ") + base);
}

}  // namespace testkit
