// The program's resources, for builds without a resource compiler: its
// version (simpanel.rc holds them for Windows).
#include <win32/linked_resources.h>
#include <windows.h>

#include "simpanel_version.h"

namespace {
const std::vector<BYTE> version = w32_versionResource(SIMPANEL_FILE_VERSION);
const bool linked =
    w32_linkResource(RT_VERSION, MAKEINTRESOURCEA(VS_VERSION_INFO), version.data(), static_cast<DWORD>(version.size()));
}  // namespace
