#include <windows.h>

#include <string>

#include "program_dir.h"

namespace testkit {

std::string ProgramDir() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return "";
    if (length < path.size()) {
      path.resize(length);
      return path.substr(0, path.find_last_of("\\/"));
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace testkit
