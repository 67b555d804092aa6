#pragma once
// Lists the connected controllers and selects one by its ordinal.
#include <string>

struct TDeviceChoice {
  bool anyDevice = false;  // an entry with the controller's vendor and product id
  int listed = 0;          // entries that passed the diagnostic usage filter
  std::string path;        // the selected entry's path; empty when none was selected
};

// Prints every listed entry and marks the one of the 0-based ordinal.
TDeviceChoice qdx_listDevices(int ordinal);
