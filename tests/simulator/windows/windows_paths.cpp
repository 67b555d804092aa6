#include "windows_paths.h"

#include "program_dir.h"

std::string sim_panelExe() { return testkit::ProgramDir() + "\\..\\bin\\simpanel.exe"; }
