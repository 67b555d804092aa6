#pragma once
// Where the tool looks for a plug-in file: on Linux in the lib/ folder beside
// the bin/ folder that holds the running program; on Windows the bare name,
// which LoadLibraryA looks for in the program's own folder first.
#include <string>

std::string qdx_pluginPath(const std::string& fileName);
