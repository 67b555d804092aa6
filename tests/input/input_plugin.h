#pragma once
// One input plug-in as a consumer binds it: loaded by file name, its five
// exports found by name. Each instance loads a private copy of the library,
// so every test starts from a module that has never loaded a file.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "temp_dir.h"

struct TImageByte {
  uint32_t address;
  uint8_t data;
  bool operator==(const TImageByte& other) const { return address == other.address && data == other.data; }
};
void PrintTo(const TImageByte& byte, std::ostream* out);

class TInputPlugin {
 public:
  // `format` is the plug-in's key: "s19" or "ihex".
  explicit TInputPlugin(const std::string& format);
  ~TInputPlugin();
  TInputPlugin(const TInputPlugin&) = delete;
  TInputPlugin& operator=(const TInputPlugin&) = delete;

  // The image as the stream reader routines serve it, in the served order.
  std::vector<TImageByte> Walk() const;
  // Writes `content` to a file of its own and loads it.
  bool LoadText(const std::string& content);

  bool (*LoadFile)(const char*) = nullptr;
  bool (*GetFirstByte)() = nullptr;
  bool (*GetNextByte)() = nullptr;
  uint32_t (*GetCurrentByteAddress)() = nullptr;
  uint8_t (*GetCurrentByteData)() = nullptr;

  const testkit::TTempDir& Dir() const { return dir; }

 private:
  testkit::TTempDir dir;
  void* module = nullptr;
  int files = 0;
};

// Path of a plug-in in the build tree.
std::string tests_PluginPath(const std::string& format);
