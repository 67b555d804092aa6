#pragma once
// The platform's lookup of an exported name in a loaded module: dlsym here,
// GetProcAddress in a Windows build (a module_symbols source of its own).

// The address exported under `name` by `module`, or null when it has none.
void* outplug_FindModuleSymbol(void* module, const char* name);
