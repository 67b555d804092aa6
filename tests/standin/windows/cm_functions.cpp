// The device-setup functions hidapi's Windows backend takes from
// cfgmgr32.dll, played for the stand-in's controllers. They live in the
// stand-in's hid.dll beside the controller world; the stand-in's
// cfgmgr32.dll forwards to them.
#include <windows.h>

#include <cstring>
#include <string>

#include "standin_bus.h"
#include "standin_hidapi_types.h"

#define STANDIN_EXPORT extern "C" __declspec(dllexport)

namespace {

constexpr CONFIGRET cr_no_such_devnode = 0x0000000D;
constexpr CONFIGRET cr_no_such_value = 0x00000025;
constexpr CONFIGRET cr_invalid_pointer = 0x00000003;
// Device nodes: one per collection (an interface of the HID class), under
// one USB device node per controller.
constexpr DEVINST first_collection_node = 1;
constexpr DEVINST first_usb_node = 0x1000;

// The device interfaces of the controllers still plugged in, each followed by
// a NUL, and a NUL at the end.
std::wstring interface_list() {
  TBusLock bus;
  std::wstring list;
  for (size_t c = 0; c < bus.World().Count(); ++c) {
    if (bus.World().Gone(static_cast<int>(c))) continue;
    for (unsigned collection = 0; collection < STANDIN_COLLECTIONS; ++collection) {
      list += standin_pipe_path(bus.World().Path(c), collection);
      list += L'\0';
    }
  }
  return list + L'\0';
}

bool same_key(const DEVPROPKEY* key, const DEVPROPKEY& wanted) {
  return key && std::memcmp(key, &wanted, sizeof wanted) == 0;
}

// Hands out a property the way cfgmgr32 does: its size (and type) alone when
// the buffer is missing or too small.
CONFIGRET property(const std::wstring& value, DEVPROPTYPE type, DEVPROPTYPE* typeOut, PBYTE buffer, PULONG size) {
  if (!size || !typeOut) return cr_invalid_pointer;
  const ULONG bytes = static_cast<ULONG>(value.size() * sizeof(wchar_t));
  *typeOut = type;
  if (!buffer || *size < bytes) {
    *size = bytes;
    return CR_BUFFER_SMALL;
  }
  std::memcpy(buffer, value.data(), bytes);
  *size = bytes;
  return CR_SUCCESS;
}

// The collection node an interface path leads to, or 0.
DEVINST node_of(LPCWSTR path) {
  TBusLock bus;
  for (size_t c = 0; path && c < bus.World().Count(); ++c) {
    for (unsigned collection = 0; collection < STANDIN_COLLECTIONS; ++collection) {
      if (standin_pipe_path(bus.World().Path(c), collection) == path)
        return first_collection_node + static_cast<DEVINST>(c * STANDIN_COLLECTIONS + collection);
    }
  }
  return 0;
}

bool is_collection_node(DEVINST node) { return node >= first_collection_node && node < first_usb_node; }

}  // namespace

STANDIN_EXPORT CONFIGRET __stdcall CM_Get_Device_Interface_List_SizeW(PULONG length, LPGUID, DEVINSTID_W, ULONG) {
  if (!length) return cr_invalid_pointer;
  *length = static_cast<ULONG>(interface_list().size());
  return CR_SUCCESS;
}

STANDIN_EXPORT CONFIGRET __stdcall CM_Get_Device_Interface_ListW(LPGUID, DEVINSTID_W, PZZWSTR buffer, ULONG length,
                                                                 ULONG) {
  const std::wstring list = interface_list();
  if (!buffer) return cr_invalid_pointer;
  if (length < list.size()) return CR_BUFFER_SMALL;
  std::wmemcpy(buffer, list.data(), list.size());
  return CR_SUCCESS;
}

// The instance id of an interface names its collection node.
STANDIN_EXPORT CONFIGRET __stdcall CM_Get_Device_Interface_PropertyW(LPCWSTR path, const DEVPROPKEY* key,
                                                                     DEVPROPTYPE* type, PBYTE buffer, PULONG size,
                                                                     ULONG) {
  const DEVINST node = node_of(path);
  if (node == 0) return CR_FAILURE;
  if (!same_key(key, DEVPKEY_Device_InstanceId)) return cr_no_such_value;
  return property(L"QDXSIM\\" + std::to_wstring(node) + L'\0', DEVPROP_TYPE_STRING, type, buffer, size);
}

STANDIN_EXPORT CONFIGRET __stdcall CM_Locate_DevNodeW(PDEVINST node, DEVINSTID_W id, ULONG) {
  if (!node || !id) return cr_invalid_pointer;
  const std::wstring text = id;
  const std::wstring prefix = L"QDXSIM\\";
  if (text.compare(0, prefix.size(), prefix) != 0) return cr_no_such_devnode;
  *node = static_cast<DEVINST>(std::wcstoul(text.c_str() + prefix.size(), nullptr, 10));
  return is_collection_node(*node) ? CR_SUCCESS : cr_no_such_devnode;
}

STANDIN_EXPORT CONFIGRET __stdcall CM_Get_Parent(PDEVINST parent, DEVINST node, ULONG) {
  if (!parent) return cr_invalid_pointer;
  if (!is_collection_node(node)) return cr_no_such_devnode;
  *parent = first_usb_node + (node - first_collection_node) / STANDIN_COLLECTIONS;
  return CR_SUCCESS;
}

// A collection's hardware ids carry the interface number (MI_00); the USB
// device's compatible ids tell the bus.
STANDIN_EXPORT CONFIGRET __stdcall CM_Get_DevNode_PropertyW(DEVINST node, const DEVPROPKEY* key, DEVPROPTYPE* type,
                                                            PBYTE buffer, PULONG size, ULONG) {
  if (is_collection_node(node) && same_key(key, DEVPKEY_Device_HardwareIds)) {
    const std::wstring collection = std::to_wstring((node - first_collection_node) % STANDIN_COLLECTIONS + 1);
    const std::wstring ids = L"HID\\VID_04D8&PID_FFEF&MI_00&Col0" + collection + L'\0' + L'\0';
    return property(ids, DEVPROP_TYPE_STRING_LIST, type, buffer, size);
  }
  if (node >= first_usb_node && same_key(key, DEVPKEY_Device_CompatibleIds)) {
    const std::wstring ids =
        std::wstring(L"USB\\Class_03&SubClass_00&Prot_00") + L'\0' + L"USB\\Class_03" + L'\0' + L'\0';
    return property(ids, DEVPROP_TYPE_STRING_LIST, type, buffer, size);
  }
  return cr_no_such_value;
}
