#include "hid_exclusive.h"

// The backend's own open shares nothing: a held device fails it.
hid_device* hidio_open_exclusive(const char* path) { return path ? hid_open_path(path) : nullptr; }

void hidio_close(hid_device* dev) {
  if (dev) hid_close(dev);
}
