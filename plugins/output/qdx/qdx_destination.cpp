#include "qdx_destination.h"

#include <cstring>

#include "qdx_serial_selection.h"

const char* const QDX_PATH_PREFIX = "/../?/qdx1://@";
const char* const QDX_SERIAL_PREFIX = "/../?/qdx1://";

namespace {

bool StartsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

}  // namespace

std::string qdx_DevicePathOf(const char* destination) {
  // The path form is tested first: it begins with the serial prefix too.
  if (StartsWith(destination, QDX_PATH_PREFIX)) return destination + std::strlen(QDX_PATH_PREFIX);
  if (StartsWith(destination, QDX_SERIAL_PREFIX)) return qdx_SelectBySerial(destination);
  return "";
}
