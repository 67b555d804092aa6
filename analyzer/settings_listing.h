#pragma once
// The analyzer's listing of the named fields of a settings block.
#include "plcsettings.h"

#include <cstdio>

// Prints one line per named field, in block order, each assembled
// little-endian from the 208 bytes of `block`.
void ana_PrintSettings(const uint8_t (&block)[PLC_SETTINGS_SIZE], FILE* out);
