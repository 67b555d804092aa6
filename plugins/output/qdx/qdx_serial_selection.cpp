#include "qdx_serial_selection.h"

#include <hidapi.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "console_say.h"
#include "qdx_destination.h"

namespace {

constexpr size_t MAX_DESTINATION_CHARS = 9999;
constexpr size_t MAX_SERIAL_CHARS = 7999;

constexpr unsigned short QDX_VENDOR_ID = 0x04D8;
constexpr unsigned short QDX_PRODUCT_ID = 0xFFEF;
// The interface as the HID layer reports it: the first Usage Page and Usage
// items of its report descriptor.
constexpr unsigned short QDX_INTERFACE_USAGE_PAGE = 0x0001;
constexpr unsigned short QDX_INTERFACE_USAGE = 0x0004;
constexpr unsigned QDX_RELEASE_MAJOR = 1;

// Bytes the locale cannot decode are taken as they are, so that a serial
// number in plain ASCII always compares.
std::wstring Widened(const std::string& text) {
  std::wstring wide;
  std::mbstate_t state{};
  const char* next = text.c_str();
  size_t left = text.size();
  while (left > 0 && wide.size() < MAX_SERIAL_CHARS) {
    wchar_t c = 0;
    size_t used = std::mbrtowc(&c, next, left, &state);
    if (used == static_cast<size_t>(-1) || used == static_cast<size_t>(-2) || used == 0) {
      c = static_cast<unsigned char>(*next);
      used = 1;
      state = std::mbstate_t{};
    }
    wide.push_back(c);
    next += used;
    left -= used;
  }
  return wide;
}

// The text behind the colon as a decimal number; 0, negative or none gives 1.
int OrdinalOf(const std::string& text) {
  errno = 0;
  const long n = std::strtol(text.c_str(), nullptr, 10);
  if (n <= 0) return 1;
  if (n > INT_MAX || errno == ERANGE) return INT_MAX;
  return static_cast<int>(n);
}

bool IsQdxInterface(const hid_device_info& entry) {
  return entry.usage_page == QDX_INTERFACE_USAGE_PAGE && entry.usage == QDX_INTERFACE_USAGE;
}

bool HasQdxRelease(const hid_device_info& entry) { return (entry.release_number >> 12) == QDX_RELEASE_MAJOR; }

bool MatchesSerial(const hid_device_info& entry, const std::wstring& serial) {
  return serial.empty() || (entry.serial_number != nullptr && serial == entry.serial_number);
}

}  // namespace

TQDXSelection qdx_ParseSelection(const char* destination) {
  const std::string taken(destination, strnlen(destination, MAX_DESTINATION_CHARS));
  const size_t prefix = std::strlen(QDX_SERIAL_PREFIX);
  std::string text = taken.size() > prefix ? taken.substr(prefix) : std::string();
  TQDXSelection selection;
  const size_t colon = text.rfind(':');
  if (colon != std::string::npos) {
    selection.ordinal = OrdinalOf(text.substr(colon + 1));
    text.erase(colon);
  }
  selection.serial = Widened(text);
  return selection;
}

std::string qdx_SelectBySerial(const char* destination) {
  const TQDXSelection selection = qdx_ParseSelection(destination);
  int left = selection.ordinal;
  std::string path;
  hid_device_info* all = hid_enumerate(QDX_VENDOR_ID, QDX_PRODUCT_ID);
  for (const hid_device_info* entry = all; entry != nullptr; entry = entry->next) {
    if (!IsQdxInterface(*entry)) continue;
    console_say("%ls     -> ", entry->product_string ? entry->product_string : L"(null)");
    if (!HasQdxRelease(*entry) || !MatchesSerial(*entry, selection.serial)) continue;
    if (--left == 0) {
      if (entry->path != nullptr) path = entry->path;
      break;
    }
  }
  hid_free_enumeration(all);
  return path;
}
