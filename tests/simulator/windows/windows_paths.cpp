#include "windows_paths.h"

#include <windows.h>
#include <algorithm>

std::string sim_panelExe() {
  char self[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, self, sizeof(self));
  std::string folder(self, length < sizeof(self) ? length : 0);
  folder.erase(folder.find_last_of('\\') + 1);
  return folder + "..\\bin\\simpanel.exe";
}

std::string sim_windowsPath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}
