#pragma once
// The test mode (-t): shows every report the controller sends and, on the
// keys 1 and 2, sends one of two test reports; space ends it.
#include <hidapi.h>

void qdx_runTestLoop(hid_device* device);
