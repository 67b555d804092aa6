#pragma once
// The environment of the running process as "NAME=value" entries, as the
// system holds it now (on Windows also what the program set after it started).
#include <string>
#include <vector>

namespace testkit {

std::vector<std::string> ProcessEnvironment();

}  // namespace testkit
