#include "program_dir.h"

#include <filesystem>

namespace testkit {

std::string ProgramDir() { return std::filesystem::read_symlink("/proc/self/exe").parent_path().string(); }

}  // namespace testkit
