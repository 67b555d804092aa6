#include <stdlib.h>

#include <stdexcept>

#include "temp_folder.h"

namespace testkit {

std::string MakeTempFolder() {
  // An empty TMPDIR counts as unset, as it does for the shell's tools.
  const char* base = getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/tolvane-test-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder from " + pattern);
  return pattern;
}

}  // namespace testkit
