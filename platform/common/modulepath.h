#pragma once
// The file name of the running program, in place of GetModuleFileNameA with
// no module handle.
#include <cstddef>

// The character that ends each folder of such a path.
#if defined(_WIN32)
#define PLAT_FOLDER_SEPARATOR '\\'
#else
#define PLAT_FOLDER_SEPARATOR '/'
#endif

// Writes the full path of the running program into buf, NUL-terminated, and
// returns its length. Returns 0 with an empty buf (when size allows) when the
// name cannot be read or does not fit into size bytes: a cut path would name
// another file, so it is refused rather than cut.
size_t plat_moduleFileName(char* buf, size_t size);
