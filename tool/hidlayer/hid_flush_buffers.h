#pragma once
#include <hidapi.h>

// Discards the input reports that the device has received and the caller has
// not read yet. Does nothing for a null device. Linux: hid_flush_buffers.cpp
// over hidapi's public calls, reading without waiting until nothing is
// pending or a read fails (at most 1,000,000 reads); Windows: part of the
// patched backend, which first empties the driver's queue (HidD_FlushQueue),
// then reads off at most 30 reports. Both are bounded, so that a device that
// reports without pause cannot hold the caller.
extern "C" void hid_flush_buffers(hid_device* dev);
