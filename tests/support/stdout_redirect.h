#pragma once
// Standard output's descriptor pointed at a file and back, under the
// platform's descriptor calls.
#include <string>

namespace testkit {

// Points standard output at `file` (created or truncated); answers the
// descriptor that keeps the old standard output, or throws.
int RedirectStdout(const std::string& file);
// Points standard output back at `saved` and closes it.
void RestoreStdout(int saved);

}  // namespace testkit
