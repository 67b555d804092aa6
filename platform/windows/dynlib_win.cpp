#include <windows.h>

#include <cstdio>

#include "dynlib.h"

namespace {
DWORD lastLoadError = 0;
}

void* plat_LoadLibrary(const char* path) {
  HMODULE module = LoadLibraryA(path);
  if (!module) lastLoadError = GetLastError();
  return reinterpret_cast<void*>(module);
}

void plat_FreeLibrary(void* module) {
  if (module) FreeLibrary(static_cast<HMODULE>(module));
}

void* plat_FindSymbol(void* module, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

void* plat_LoadedModule(const char* fileName) {
  // Counted, unlike GetModuleHandleA, so that plat_FreeLibrary balances it.
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(0, fileName, &module)) return nullptr;
  return reinterpret_cast<void*>(module);
}

const char* plat_LoadError() {
  // The code, not the system's text: wine's texts differ from Windows'.
  static char text[32];
  std::snprintf(text, sizeof text, "Windows error %lu", static_cast<unsigned long>(lastLoadError));
  return text;
}
