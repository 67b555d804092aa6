#include "plugin_library.h"

#include <cstdio>
#include <utility>

#include "dynlib.h"
#include "plugin_location.h"

std::string qdx_pluginFileName(const char* pattern, const char* key) {
  const int length = std::snprintf(nullptr, 0, pattern, key);
  std::string name(static_cast<size_t>(length > 0 ? length : 0), '\0');
  std::snprintf(name.data(), name.size() + 1, pattern, key);
  return name;
}

TPluginLibrary::TPluginLibrary(std::string name) : fileName(std::move(name)) {}

TPluginLibrary::~TPluginLibrary() { Unload(); }

bool TPluginLibrary::Load() {
  if (!handle) handle = plat_LoadLibrary(qdx_pluginPath(fileName).c_str());
  return handle != nullptr;
}

void TPluginLibrary::Unload() {
  plat_FreeLibrary(handle);
  handle = nullptr;
}

void* TPluginLibrary::Symbol(const char* name) const { return handle ? plat_FindSymbol(handle, name) : nullptr; }
