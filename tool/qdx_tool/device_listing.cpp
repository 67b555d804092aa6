#include "device_listing.h"

#include <hidapi.h>

#include <cstdio>
#include <cwchar>

namespace {

constexpr unsigned short QDX_VENDOR_ID = 0x04D8;
constexpr unsigned short QDX_PRODUCT_ID = 0xFFEF;
constexpr unsigned short QDX_DIAG_USAGE_PAGE = 0xFF18;
constexpr unsigned short QDX_DIAG_USAGE = 0xFF00;

bool is_diag_collection(const hid_device_info& entry) {
  return entry.usage_page == QDX_DIAG_USAGE_PAGE && entry.usage == QDX_DIAG_USAGE;
}

const wchar_t* text_or_null(const wchar_t* text) { return text ? text : L"(null)"; }

// An unprogrammed serial number reads as 0xFFFF characters.
bool is_unset_serial(const wchar_t* serial) {
  if (!serial || !*serial) return false;
  for (; *serial; ++serial) {
    if (static_cast<unsigned>(*serial) != 0xFFFF) return false;
  }
  return true;
}

void print_serial(const wchar_t* serial) {
  std::printf("  serial_number: ");
  if (is_unset_serial(serial))
    std::printf("<no serial number>\n");
  else if (!serial || std::wcslen(serial) < 2)
    std::printf("(null)\n");
  else
    std::printf("%ls\n", serial);
}

void print_entry(const hid_device_info& entry) {
  std::printf("  Manufacturer:  %ls\n", text_or_null(entry.manufacturer_string));
  std::printf("  Product:       %ls\n", text_or_null(entry.product_string));
  std::printf("  Release:       %hx\n", entry.release_number);
  print_serial(entry.serial_number);
}

}  // namespace

TDeviceChoice qdx_listDevices(int ordinal) {
  TDeviceChoice choice;
  hid_device_info* all = hid_enumerate(QDX_VENDOR_ID, QDX_PRODUCT_ID);
  choice.anyDevice = all != nullptr;
  bool selected = false;
  for (const hid_device_info* entry = all; entry; entry = entry->next) {
    if (is_diag_collection(*entry)) {
      print_entry(*entry);
      ++choice.listed;
      // A negative ordinal selects nothing; it is not counted on past its range.
      if (ordinal > 0) {
        --ordinal;
      } else if (ordinal == 0 && !selected) {
        std::printf(" *** Selected Tolvane instance.\n");
        selected = true;
        if (entry->path) choice.path = entry->path;
      }
    }
    std::printf("\n");
  }
  hid_free_enumeration(all);
  std::fflush(stdout);
  return choice;
}
