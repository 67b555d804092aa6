#pragma once
// What the device tool prints of the stand-in's controllers, on every platform.
#include <cstddef>
#include <string>

namespace tooltest {

// One controller of the listing: its diagnostic entry (selected or not)
// and the blank line of its other entry.
std::string Listed(const std::string& serial, bool selected);

struct TStatus {
  bool running = true;
  std::string stopReason;  // printed when not running
  bool shipped = true;
  bool sendPending = false;
  bool timingError = false;
  int setCycle = 10, maxCycle = 8, avgCycle = 6, absMinCycle = 4;
  std::string buildDate = "2024-03-18 stand-in build";
  std::string signature = "QDXSIM-SIGNATURE";
};

// A controller that stopped for that reason ("NAME(code) /description/").
TStatus Stopped(const std::string& reason);

// qdx_dumpInfo's lines for a controller in that state.
std::string Dump(const TStatus& status);
// The firmware strings and the failed entry into diagnostic mode.
std::string DumpWithoutDiagMode(const TStatus& status = {});

// The names of the two plug-ins as the tool loads them.
struct TPlugins {
  std::string input;
  std::string output;
};

// The programming road of a run that programs `file`, an image of imageSize
// bytes, into the controller at devicePath: the plug-ins loaded, the writer's
// dialogue and its success.
std::string Programming(const TPlugins& plugins, const std::string& file, const std::string& devicePath,
                        size_t imageSize);

extern const char* const OPENED;  // "Opening device... OK\n"
extern const char* const CLOSED;  // "Closing diag... OK\n"

}  // namespace tooltest
