#pragma once
// Where the Windows tests, run under wine, find the build's files.
#include <string>

// simpanel.exe of this build, found from the test program's own folder.
std::string sim_panelExe();
