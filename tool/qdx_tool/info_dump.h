#pragma once
// The controller's firmware strings and diagnostic status, as the tool prints them.
#include <hidapi.h>

// False when diagnostic mode could not be entered or no status was read.
bool qdx_dumpInfo(hid_device* device);
