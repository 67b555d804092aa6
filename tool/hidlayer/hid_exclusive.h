#pragma once
// Opening a device for one holder at a time: the tool closes its own handle
// before the device writer opens the controller, and two programs must never
// talk to one controller at once. Linux: hid_exclusive_linux.cpp, since
// hidraw opens are shared; Windows: the patched backend opens without sharing.
#include <hidapi.h>

// Opens the device at path unless it is held: while one of our programs holds
// it, in this process or another, every further open fails. nullptr when the
// device cannot be opened or is held.
hid_device* hidio_open_exclusive(const char* path);

// Closes a device opened by hidio_open_exclusive and lets the next holder
// have it. Does nothing for a null device.
void hidio_close(hid_device* dev);
