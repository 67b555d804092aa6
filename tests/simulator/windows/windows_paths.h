#pragma once
// Where the Windows tests, run under wine, find the build's files.
#include <string>

// simpanel.exe of this build, found from the test program's own folder.
std::string sim_panelExe();

// A path of the build machine as a Windows program under wine names it
// (its drive Z: is the machine's root).
std::string sim_windowsPath(const std::string& unixPath);
