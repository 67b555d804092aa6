#pragma once
// The exports of an input plug-in (librd_s19.so, librd_ihex.so).
#include "tolvane_export.h"

#include <cstdint>

// Reads `path` into a new image; false on any failure, after which the
// routines below serve what had been read.
TOLVANE_EXPORT bool LoadFile(const char* path);

// The stream reader routines over the loaded image.
TOLVANE_EXPORT bool GetFirstByte();
TOLVANE_EXPORT bool GetNextByte();
TOLVANE_EXPORT uint32_t GetCurrentByteAddress();
TOLVANE_EXPORT uint8_t GetCurrentByteData();
