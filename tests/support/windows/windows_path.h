#pragma once
// Files of the build machine as a Windows program under wine names them.
#include <string>

namespace testkit {

// A path of the build machine as a Windows path: wine shows the machine's
// root as drive Z:. A path that is not absolute on the build machine only
// gets its slashes turned into backslashes.
std::string WindowsPath(const std::string& path);

}  // namespace testkit
