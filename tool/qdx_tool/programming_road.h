#pragma once
// Programs the input file into the controller at devicePath by chaining the
// S-record input plug-in and the device writer. The caller has closed its
// own handle on the device: the writer opens it itself.
#include <string>

// True when the controller was programmed ("QDX programming successful!").
bool qdx_programDevice(const std::string& devicePath, const std::string& inFile);
