#pragma once
// The controller's firmware strings and diagnostic status, as the tool prints them.
#include <hidapi.h>

void qdx_dumpInfo(hid_device* device);
