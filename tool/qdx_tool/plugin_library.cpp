#include "plugin_library.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <cstdio>
#include <utility>
#include <vector>

namespace {

// The folder of the running program, resolved through links; "" when the
// system does not tell it.
std::string program_folder() {
  std::vector<char> path(PATH_MAX);
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length < 0) return "";
    if (static_cast<size_t>(length) < path.size()) {
      const std::string program(path.data(), static_cast<size_t>(length));
      return program.substr(0, program.rfind('/') + 1);
    }
    path.resize(path.size() * 2);
  }
}

std::string plugin_path(const std::string& fileName) {
  const std::string folder = program_folder();
  // Without the program's folder the loader's own search (the program's
  // RUNPATH, which names the same lib/ folder) has to do.
  return folder.empty() ? fileName : folder + "../lib/" + fileName;
}

}  // namespace

std::string qdx_pluginFileName(const char* pattern, const char* key) {
  const int length = std::snprintf(nullptr, 0, pattern, key);
  std::string name(static_cast<size_t>(length > 0 ? length : 0), '\0');
  std::snprintf(name.data(), name.size() + 1, pattern, key);
  return name;
}

TPluginLibrary::TPluginLibrary(std::string name) : fileName(std::move(name)) {}

TPluginLibrary::~TPluginLibrary() { Unload(); }

bool TPluginLibrary::Load() {
  if (!handle) handle = ::dlopen(plugin_path(fileName).c_str(), RTLD_NOW | RTLD_LOCAL);
  return handle != nullptr;
}

void TPluginLibrary::Unload() {
  if (handle) ::dlclose(handle);
  handle = nullptr;
}

void* TPluginLibrary::Symbol(const char* name) const { return handle ? ::dlsym(handle, name) : nullptr; }
