// The program's resources, for builds without a resource compiler: its
// version, file version 1.0.5.6.
#include <win32/linked_resources.h>
#include <windows.h>

namespace {
const std::vector<BYTE> version = w32_versionResource(1, 0, 5, 6);
const bool linked =
    w32_linkResource(RT_VERSION, MAKEINTRESOURCEA(VS_VERSION_INFO), version.data(), static_cast<DWORD>(version.size()));
}  // namespace
