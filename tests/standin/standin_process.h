#pragma once
// What the test kit asks of the system: the test's own environment, which
// the stand-in reads at its reset, and the stand-in's test functions (in the
// preloaded library on Linux, in the stand-in's hid.dll on Windows).
#include <string>

// Sets the variable to value, or removes it for a null value.
void standin_set_variable(const std::string& name, const char* value);
// The stand-in's function of that name, or null when the stand-in is not there.
void* standin_function(const char* name);
