// Linked into a test program that talks to the stand-in in its own process:
// started on its own, without the stand-in preloaded, the program starts
// itself again with it, before main. Run alone it passes as it does under
// CTest, whose test environment preloads the stand-in, and it never reaches
// a real controller.
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "standin_testkit.h"

namespace {

// Set on the second start, so that a stand-in that cannot be loaded fails
// the tests instead of starting the program over and over.
const char* const kRestarted = "TOLVANE_STANDIN_RESTARTED";

void restartWithTheStandin() {
  if (standin_loaded() || getenv(kRestarted)) return;
  std::ifstream commandLine("/proc/self/cmdline", std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(commandLine)), std::istreambuf_iterator<char>());
  std::vector<std::string> args;
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find('\0', at);
    args.push_back(text.substr(at, end - at));
    at = end == std::string::npos ? text.size() : end + 1;
  }
  if (args.empty()) return;
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  std::string preload = QDX_STANDIN_PRELOAD;
  if (const char* others = getenv("LD_PRELOAD"); others && *others) preload = preload + ":" + others;
  setenv("LD_PRELOAD", preload.c_str(), 1);
  setenv(kRestarted, "1", 1);
  execv("/proc/self/exe", argv.data());
  // Not restarted: the tests report the missing stand-in.
}

const bool restarted = (restartWithTheStandin(), true);

}  // namespace
