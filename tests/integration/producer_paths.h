#pragma once
// Where the build put the producers of the stream reader routines.
#include <string>

#include "plugin_module.h"

namespace integ {

// key: "s19" or "ihex".
std::string ReaderPath(const std::string& key);
std::string CompilerPath();

// LoadFile of a loaded input plug-in.
bool LoadImageFile(const outtest::TModule& reader, const std::string& path);

}  // namespace integ
