#include <dlfcn.h>

#include "dynlib.h"

void* plat_LoadLibrary(const char* path) { return dlopen(path, RTLD_NOW | RTLD_LOCAL); }

void plat_FreeLibrary(void* module) {
  if (module) dlclose(module);
}

void* plat_FindSymbol(void* module, const char* name) { return dlsym(module, name); }

void* plat_LoadedModule(const char* fileName) { return dlopen(fileName, RTLD_NOW | RTLD_NOLOAD); }

const char* plat_LoadError() {
  const char* text = dlerror();
  return text ? text : "no error";
}
