#include "program_dir.h"

#include <filesystem>

#include "modulepath.h"

namespace testkit {

std::string ProgramDir() {
  char program[4096];
  if (plat_moduleFileName(program, sizeof program) == 0) return ".";
  return std::filesystem::path(program).parent_path().string();
}

}  // namespace testkit
