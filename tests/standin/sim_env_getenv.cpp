#include <cstdlib>

#include "sim_env.h"

bool sim_env(const char* name, std::string& value) {
  const char* text = std::getenv(name);
  if (!text) return false;
  value = text;
  return true;
}
