#include <hidapi.h>
#include <windows.h>

#include "standin_process.h"

void standin_set_variable(const std::string& name, const char* value) { SetEnvironmentVariableA(name.c_str(), value); }

void* standin_function(const char* name) {
  // hidapi loads hid.dll at its first call; the stand-in's is the one beside the program.
  hid_init();
  HMODULE hid = GetModuleHandleA("hid.dll");
  return hid ? reinterpret_cast<void*>(GetProcAddress(hid, name)) : nullptr;
}
