#pragma once
// A new, empty folder of the process's own under the system's place for
// temporary files; throws when none can be made.
#include <string>

namespace testkit {

std::string MakeTempFolder();

}  // namespace testkit
