#pragma once
// The process environment as the stand-in reads it. On Windows a stand-in
// DLL must ask the system, not its C library's copy, to see what the program
// set after it started.
#include <string>

// True with the value when the variable is set (also when it is empty).
bool sim_env(const char* name, std::string& value);
