#include "plugin_location.h"

#include <limits.h>

#include <vector>

#include "modulepath.h"

std::string qdx_pluginPath(const std::string& fileName) {
#if defined(_WIN32)
  return fileName;
#else
  std::vector<char> program(PATH_MAX);
  const size_t length = plat_moduleFileName(program.data(), program.size());
  // Without the program's folder the loader's own search (the program's
  // RUNPATH, which names the same lib/ folder) has to do.
  if (length == 0) return fileName;
  const std::string path(program.data(), length);
  return path.substr(0, path.rfind('/') + 1) + "../lib/" + fileName;
#endif
}
