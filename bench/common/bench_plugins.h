#pragma once
// What the benchmark hosts share: plug-ins found by file name in the lib/
// folder beside the program's bin/ folder, as installed, and the timed load.
#include <dlfcn.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

using bench_Clock = std::chrono::steady_clock;

inline double bench_Ms(bench_Clock::duration elapsed) {
  return std::chrono::duration<double, std::milli>(elapsed).count();
}

// The plug-in lib/<fileName>, or null after saying why.
inline void* bench_LoadPlugin(const std::string& fileName) {
  const std::string path =
      std::filesystem::read_symlink("/proc/self/exe").parent_path().string() + "/../lib/" + fileName;
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) fprintf(stderr, "%s\n", dlerror());
  return module;
}

// LoadFile of the input plug-in `module`; false after saying why.
inline bool bench_LoadFile(void* module, const char* path) {
  auto loadFile = reinterpret_cast<bool (*)(const char*)>(dlsym(module, "LoadFile"));
  if (loadFile == nullptr) {
    fprintf(stderr, "not an input plug-in\n");
    return false;
  }
  if (!loadFile(path)) {
    fprintf(stderr, "cannot load %s\n", path);
    return false;
  }
  return true;
}
