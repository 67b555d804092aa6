#include <dlfcn.h>
#include <stdlib.h>

#include "standin_process.h"

void standin_set_variable(const std::string& name, const char* value) {
  if (value)
    ::setenv(name.c_str(), value, 1);
  else
    ::unsetenv(name.c_str());
}

void* standin_function(const char* name) { return ::dlsym(RTLD_DEFAULT, name); }
