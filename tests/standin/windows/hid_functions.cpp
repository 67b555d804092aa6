// hid.dll, played by the stand-in beside a test program: the functions
// hidapi's Windows backend looks up by name, answered from the controllers
// of the stand-in's world for the handles of their pipes. Any other file
// opened as a device plays a plain device with the configured report lengths.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "pipe_client.h"
#include "standin_bus.h"
#include "standin_hidapi_types.h"

#define STANDIN_EXPORT extern "C" __declspec(dllexport)

namespace {

constexpr unsigned short diag_usage_page = 0xFF18;
constexpr unsigned short diag_usage = 0xFF00;
constexpr unsigned short interface_usage_page = 0x0001;
constexpr unsigned short interface_usage = 0x0004;

// What HidD_GetPreparsedData hands out: the capabilities, read back by HidP_GetCaps.
struct TPreparsed {
  HIDP_CAPS caps;
  bool capsFail = false;  // HidP_GetCaps refuses them
};

// The step at which a fault makes an open fail after its claim: the open's
// next call of that function for its handle (guarded by the bus lock).
enum class TOpenStep { None, PreparsedData, Caps };
struct TFailingOpen {
  HANDLE handle = nullptr;
  TOpenStep step = TOpenStep::None;
};
TFailingOpen failing_open;

// Takes the fault due for this call on handle, if any.
bool fails_now(HANDLE handle, TOpenStep step) {
  if (failing_open.handle != handle || failing_open.step != step) return false;
  failing_open = TFailingOpen();
  return true;
}

// Copies a string of the device into a buffer of `bytes` bytes, cut to fit.
BOOLEAN copy_text(const TSimText& text, PVOID buffer, ULONG bytes) {
  const size_t room = bytes / sizeof(wchar_t);
  if (!text.present || !buffer || room == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const size_t length = std::min(text.text.size(), room - 1);
  auto* out = static_cast<wchar_t*>(buffer);
  std::wmemcpy(out, text.text.c_str(), length);
  out[length] = L'\0';
  return TRUE;
}

TSimText fixed_text(const wchar_t* text) {
  TSimText item;
  item.text = text;
  return item;
}

// String descriptor `index` of the controller behind handle.
BOOLEAN device_string(HANDLE handle, int index, PVOID buffer, ULONG bytes) {
  TBusLock bus;
  const TBusDevice device = standin_device_of(bus.World(), handle);
  if (device.controller < 0 || bus.World().Gone(device.controller)) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
  }
  const TSimConfig& config = bus.World().Config();
  switch (index) {
    case 1: return copy_text(fixed_text(SIM_MANUFACTURER), buffer, bytes);
    case 2: return copy_text(fixed_text(SIM_PRODUCT), buffer, bytes);
    case 3: return copy_text(config.controllers[static_cast<size_t>(device.controller)].serial, buffer, bytes);
    case 4: return copy_text(config.fwDate, buffer, bytes);
    case 5: return copy_text(config.fwSignature, buffer, bytes);
    default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
  }
}

BOOLEAN unsupported() {
  SetLastError(ERROR_NOT_SUPPORTED);
  return FALSE;
}

}  // namespace

STANDIN_EXPORT void __stdcall HidD_GetHidGuid(LPGUID guid) {
  // {4D1E55B2-F16F-11CF-88CB-001111000030}, the HID interface class
  *guid = GUID{0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
  TBusLock bus;
}

STANDIN_EXPORT BOOLEAN __stdcall HidD_GetAttributes(HANDLE handle, PHIDD_ATTRIBUTES attributes) {
  TBusLock bus;
  const TBusDevice device = standin_device_of(bus.World(), handle);
  attributes->VendorID = SIM_VENDOR_ID;
  attributes->ProductID = SIM_PRODUCT_ID;
  attributes->VersionNumber =
      device.controller < 0 ? 0 : bus.World().Config().controllers[static_cast<size_t>(device.controller)].release;
  return TRUE;
}

STANDIN_EXPORT BOOLEAN __stdcall HidD_GetManufacturerString(HANDLE handle, PVOID buffer, ULONG bytes) {
  return device_string(handle, 1, buffer, bytes);
}

STANDIN_EXPORT BOOLEAN __stdcall HidD_GetProductString(HANDLE handle, PVOID buffer, ULONG bytes) {
  return device_string(handle, 2, buffer, bytes);
}

STANDIN_EXPORT BOOLEAN __stdcall HidD_GetSerialNumberString(HANDLE handle, PVOID buffer, ULONG bytes) {
  return device_string(handle, 3, buffer, bytes);
}

STANDIN_EXPORT BOOLEAN __stdcall HidD_GetIndexedString(HANDLE handle, ULONG index, PVOID buffer, ULONG bytes) {
  return device_string(handle, static_cast<int>(index), buffer, bytes);
}

STANDIN_EXPORT BOOLEAN __stdcall HidD_SetFeature(HANDLE, PVOID, ULONG) { return unsupported(); }

STANDIN_EXPORT BOOLEAN __stdcall HidD_GetFeature(HANDLE, PVOID, ULONG) { return unsupported(); }

STANDIN_EXPORT BOOLEAN __stdcall HidD_GetInputReport(HANDLE, PVOID, ULONG) { return unsupported(); }

STANDIN_EXPORT BOOLEAN __stdcall HidD_GetPreparsedData(HANDLE handle, PHIDP_PREPARSED_DATA* preparsed) {
  TBusLock bus;
  if (fails_now(handle, TOpenStep::PreparsedData)) {
    SetLastError(ERROR_GEN_FAILURE);
    return FALSE;
  }
  const TBusDevice device = standin_device_of(bus.World(), handle);
  auto* data = new TPreparsed();
  std::memset(&data->caps, 0, sizeof data->caps);
  const bool diag = device.collection == STANDIN_DIAG;
  data->caps.UsagePage = diag ? diag_usage_page : interface_usage_page;
  data->caps.Usage = diag ? diag_usage : interface_usage;
  const unsigned* lengths = bus.World().Config().reportLengths;
  data->caps.InputReportByteLength = static_cast<USHORT>(lengths[0]);
  data->caps.OutputReportByteLength = static_cast<USHORT>(lengths[1]);
  data->caps.FeatureReportByteLength = static_cast<USHORT>(lengths[2]);
  data->capsFail = fails_now(handle, TOpenStep::Caps);
  *preparsed = reinterpret_cast<PHIDP_PREPARSED_DATA>(data);
  return TRUE;
}

STANDIN_EXPORT BOOLEAN __stdcall HidD_FreePreparsedData(PHIDP_PREPARSED_DATA preparsed) {
  delete reinterpret_cast<TPreparsed*>(preparsed);
  return TRUE;
}

STANDIN_EXPORT NTSTATUS __stdcall HidP_GetCaps(PHIDP_PREPARSED_DATA preparsed, PHIDP_CAPS caps) {
  if (!preparsed || reinterpret_cast<TPreparsed*>(preparsed)->capsFail)
    return static_cast<NTSTATUS>(HIDP_STATUS_INVALID_PREPARSED_DATA);
  *caps = reinterpret_cast<TPreparsed*>(preparsed)->caps;
  return HIDP_STATUS_SUCCESS;
}

// hidapi sets the input buffers right after its open for reading and
// writing, and only then: the stand-in's controllers take that open's claim here.
STANDIN_EXPORT BOOLEAN __stdcall HidD_SetNumInputBuffers(HANDLE handle, ULONG) {
  {
    TBusLock bus;
    if (standin_device_of(bus.World(), handle).controller < 0) return TRUE;
  }
  // Unlocked: the server answers the claim from its own thread.
  const DWORD refused = standin_claim(handle);
  if (refused != ERROR_SUCCESS) {
    SetLastError(refused);
    return FALSE;
  }
  // The open goes on with its capabilities: faults may fail it there.
  TBusLock bus;
  const TSimFaults& faults = bus.World().Config().faults;
  const unsigned open = bus.World().Opens();
  failing_open.handle = handle;
  failing_open.step = faults.preparsedFail.Contains(open) ? TOpenStep::PreparsedData
                      : faults.capsFail.Contains(open)    ? TOpenStep::Caps
                                                          : TOpenStep::None;
  return TRUE;
}

STANDIN_EXPORT BOOLEAN __stdcall HidD_FlushQueue(HANDLE handle) {
  int controller = -1;
  {
    TBusLock bus;
    controller = standin_device_of(bus.World(), handle).controller;
    if (controller < 0) return TRUE;
    bus.World().Record().Line("flushqueue " + std::to_string(controller));
    if (bus.World().Config().faults.flushQueueKeeps) return TRUE;
    bus.Server().DropUnwritten(controller);
  }
  standin_discard_waiting(handle);
  return TRUE;
}

// Test code finds these with GetProcAddress on hid.dll.

// Rebuilds the controllers from the environment as it is now.
STANDIN_EXPORT int qdxsim_reset(void) {
  standin_rebuild();
  return 0;
}

// Waits up to ms milliseconds until every report the controllers have made
// is in its pipe; 0 when they are, -1 otherwise. A write of the program's
// has reached the server once the server has waited (and stepped) twice.
STANDIN_EXPORT int qdxsim_wait_idle(unsigned ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  unsigned long from = 0;
  {
    TBusLock bus;
    from = bus.Server().Steps();
  }
  for (;;) {
    {
      TBusLock bus;
      if (bus.Server().Steps() >= from + 2 && bus.Server().Idle()) return 0;
    }
    if (GetTickCount64() >= end) return -1;
    Sleep(1);
  }
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    // Kept until the process ends: its thread serves the pipes, and unloading
    // it under that thread would pull its code away.
    HMODULE pinned = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCWSTR>(module), &pinned);
  } else if (reason == DLL_PROCESS_DETACH && reserved != nullptr) {
    standin_end_of_process();
  }
  return TRUE;
}
