#include "windows_path.h"

#include <algorithm>

namespace testkit {

std::string WindowsPath(const std::string& path) {
  std::string windows = !path.empty() && path[0] == '/' ? "Z:" + path : path;
  std::replace(windows.begin(), windows.end(), '/', '\\');
  return windows;
}

}  // namespace testkit
