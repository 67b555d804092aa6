#pragma once
// What the device tool prints of the stand-in's controllers, and the plug-in
// problems of its programming road, on every platform.
#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

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

// The lines of the two plug-ins' loading, each "OK" or "Fail".
std::string Loading(const TPlugins& plugins, bool inputLoaded, bool outputLoaded);

// The programming road of a run that programs `file`, an image of imageSize
// bytes, into the controller at devicePath: the plug-ins loaded, the writer's
// dialogue and its success.
std::string Programming(const TPlugins& plugins, const std::string& file, const std::string& devicePath,
                        size_t imageSize);

// The programming road's plug-in problems, on every platform: what lies
// under each plug-in's name where the tool loads it, and what the road prints.
enum class TPluginFile { None, RdS19, WrQdx, WrS19, Stub };

struct TPluginCase {
  const char* name;
  TPluginFile input;   // under the input plug-in's name
  TPluginFile output;  // under the output plug-in's name
  // What the road prints; null when both are the real plug-ins, which program the image.
  std::string (*road)(const TPlugins& plugins);
};

std::ostream& operator<<(std::ostream& out, const TPluginCase& c);
std::vector<TPluginCase> PluginCases();

// The build's files a case puts in the plug-ins' places.
struct TPluginFiles {
  std::string rdS19, wrQdx, wrS19, stub;  // stub: AttachToDLL without SaveAs, LoadFile without the stream routines
};

// The file of `file`, "" for none.
std::string PluginFile(TPluginFile file, const TPluginFiles& files);

// What a run with -S and an input file prints from its road on: the road
// (`programming` when the case programs the image), then the start (refused
// by a controller that holds no program) and the close.
std::string PluginRunFromTheRoad(const TPluginCase& c, const TPlugins& plugins, const std::string& programming);

extern const char* const OPENED;  // "Opening device... OK\n"
extern const char* const CLOSED;  // "Closing diag... OK\n"

}  // namespace tooltest
