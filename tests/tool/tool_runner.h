#pragma once
// Runs a program of the build as the tool tests do: with the test's
// environment less LD_PRELOAD and QDXSIM_*, the controller stand-in
// preloaded unless told otherwise, and the case's own variables.
#include <string>
#include <utility>
#include <vector>

#include "child_process.h"

using TToolEnv = std::vector<std::pair<std::string, std::string>>;

struct TRunRequest {
  std::string program;
  std::vector<std::string> args;
  TToolEnv env;         // besides the test's environment, less LD_PRELOAD and QDXSIM_*
  bool standin = true;  // LD_PRELOAD the controller stand-in
  std::string input;    // standard input, closed after it
  int timeoutMs = 60000;
};

testkit::TChildRun tooltest_run(const TRunRequest& request);

// The environment entries of the child, in "NAME=value" form.
std::vector<std::string> tooltest_child_env(const TToolEnv& env, bool standin);
