#pragma once
// What the fuzz targets share besides their input: a private folder for the
// files a target writes, quiet standard output, and a failed check.
#include <string>

// A path in a folder of this process's own, below TMPDIR.
std::string fuzz_tempPath(const char* name);

// Standard output goes to /dev/null: the targets' programs print every step.
// With TOLVANE_FUZZ_STDOUT set it stays, to see what an input made them print.
void fuzz_silenceStdout();

// Ends the run as a crash, so that the input is kept.
[[noreturn]] void fuzz_fail(const char* check);
