#pragma once
// Runs a program of the build as a child process with its own environment
// and input, and collects what it printed; a run that outlives its bound is
// killed, so no test can hang on it.
#include <string>
#include <utility>
#include <vector>

using TToolEnv = std::vector<std::pair<std::string, std::string>>;

struct TRunRequest {
    std::string program;
    std::vector<std::string> args;
    TToolEnv env;         // besides the test's environment, less LD_PRELOAD and QDXSIM_*
    bool standin = true;  // LD_PRELOAD the controller stand-in
    std::string input;    // standard input, closed after it
    int timeoutMs = 60000;
};

struct TToolRun {
    int status = -1;  // exit status; -1 when it did not exit by itself
    bool timedOut = false;
    std::string out;
    std::string err;
};

TToolRun tooltest_run(const TRunRequest& request);

// The environment entries of the child, in "NAME=value" form.
std::vector<std::string> tooltest_child_env(const TToolEnv& env, bool standin);
