#pragma once
// What a resource compiler would link into a program: its resources by type
// and name, kept for FindResourceA and its companions.
#include <vector>

#include "base_types.h"

// Adds one resource of the program, or replaces the one of the same type
// and name; NULL data takes it away. `data` must live as long as it is
// linked. A type or name may be a number (MAKEINTRESOURCEA) or a text.
bool w32_linkResource(LPCSTR type, LPCSTR name, const void* data, DWORD size);

// A version resource (VS_VERSIONINFO with its fixed file information and no
// string tables) for file and product version major.minor.release.build.
std::vector<BYTE> w32_versionResource(WORD major, WORD minor, WORD release, WORD build);
