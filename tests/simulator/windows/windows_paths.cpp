#include "windows_paths.h"

#include <algorithm>

#include "program_dir.h"

std::string sim_panelExe() { return testkit::ProgramDir() + "\\..\\bin\\simpanel.exe"; }

std::string sim_windowsPath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}
