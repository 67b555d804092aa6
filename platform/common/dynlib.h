#pragma once
// Shared libraries loaded at run time and their exports found by name: dlopen
// and dlsym on Linux, LoadLibraryA and GetProcAddress on Windows. A module is
// the platform's own handle (a dlopen handle, an HMODULE), as AttachToDLL
// takes it.

// Loads the library at `path`; null when it cannot be loaded.
void* plat_LoadLibrary(const char* path);
// The module of the library file `fileName` ("plccomp.dll") that the process
// has already loaded, or null; nothing is loaded.
void* plat_LoadedModule(const char* fileName);
// Gives back a module of plat_LoadLibrary or plat_LoadedModule.
void plat_FreeLibrary(void* module);
// The address that `module` exports under `name`, or null.
void* plat_FindSymbol(void* module, const char* name);
// Why the last load failed, for messages.
const char* plat_LoadError();
