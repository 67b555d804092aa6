#pragma once
// The device destination: "/../?/qdx1://@" and a HID device path, as the
// device tool forms it, or "/../?/qdx1://" and a selection text with an
// optional ":" and ordinal, which picks a controller by its serial number.
#include <string>

extern const char* const QDX_PATH_PREFIX;
extern const char* const QDX_SERIAL_PREFIX;

// The HID path of the device the destination names; "" when it names none
// (neither prefix, or no controller matches the selection).
std::string qdx_DevicePathOf(const char* destination);
