#pragma once
// Where the build put the producers of the stream reader routines.
#include <string>
#include <vector>

#include "plugin_module.h"

namespace integ {

// key: "s19" or "ihex".
std::string ReaderPath(const std::string& key);
// The formats this platform both writes and reads: "s19", and "ihex" but on
// Windows, which has no Intel HEX writer.
std::vector<std::string> RoundTripKeys();
std::string CompilerPath();

// LoadFile of a loaded input plug-in.
bool LoadImageFile(const outtest::TModule& reader, const std::string& path);

}  // namespace integ
