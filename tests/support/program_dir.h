#pragma once
// Where the running test program lies: the build's programs and plug-ins
// are found from there.
#include <string>

namespace testkit {

std::string ProgramDir();

}  // namespace testkit
