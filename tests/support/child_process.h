#pragma once
// Runs a program as a child process with its own arguments, environment and
// standard input, and collects what it printed and how it ended; a run that
// outlives its bound is killed, so no test can hang on it.
#include <string>
#include <vector>

namespace testkit {

// The test's own environment, as "NAME=value" entries.
std::vector<std::string> CurrentEnvironment();

// The test's own environment ("NAME=value" entries) less every entry that
// starts with one of `dropped` ("NAME=" for one variable, a prefix for a
// family of them), followed by `added`.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& dropped = {},
                                          const std::vector<std::string>& added = {});

struct TChildRequest {
  std::string program;  // a path, or a name looked up in PATH
  std::vector<std::string> args;
  std::vector<std::string> environment = ChildEnvironment();
  std::string input;  // standard input, closed after it; at most a pipe's worth (64 KiB)
  int timeoutMs = 60000;
};

struct TChildRun {
  int status = -1;  // exit status; -1 when it did not exit by itself
  bool timedOut = false;
  // What it printed (read as text on Windows: CR LF comes out as LF).
  std::string out;
  std::string err;
};

TChildRun RunChild(const TChildRequest& request);

}  // namespace testkit
