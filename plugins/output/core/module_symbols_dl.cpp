#include <dlfcn.h>

#include "module_symbols.h"

void* outplug_FindModuleSymbol(void* module, const char* name) { return dlsym(module, name); }
