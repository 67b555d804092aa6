#pragma once
#include <hidapi.h>

// Discards the input reports that the device has received and the caller has
// not read yet. Reads without waiting until nothing is pending or a read
// fails, at most 30 reads, so a device that reports without pause cannot
// hold the caller. Does nothing for a null device. Linux: hid_flush_buffers.cpp
// over hidapi's public calls; Windows: part of the patched backend, which
// first empties the driver's queue (HidD_FlushQueue).
extern "C" void hid_flush_buffers(hid_device* dev);
