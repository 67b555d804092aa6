#pragma once
// The controllers on the stand-in's bus, their device paths and who holds
// them open, plus the numbering of opens and writes that faults refer to.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sim_config.h"
#include "sim_controller.h"
#include "sim_record.h"

constexpr unsigned short SIM_VENDOR_ID = 0x04D8;
constexpr unsigned short SIM_PRODUCT_ID = 0xFFEF;
extern const wchar_t* const SIM_MANUFACTURER;
extern const wchar_t* const SIM_PRODUCT;

// Milliseconds of the stand-in's own monotonic clock.
uint64_t sim_now();

class TSimWorld {
 public:
  explicit TSimWorld(TSimConfig config);
  TSimWorld(const TSimWorld&) = delete;
  TSimWorld& operator=(const TSimWorld&) = delete;

  const TSimConfig& Config() const { return config; }
  const TSimRecord& Record() const { return record; }
  size_t Count() const { return controllers.size(); }
  const std::string& Path(size_t index) const { return paths[index]; }
  TSimController& Controller(size_t index) { return *controllers[index]; }
  // The controller behind a path, or -1.
  int Find(const char* path) const;

  // Counts the open; false when a fault refuses it or the controller is held.
  bool Open(int index, std::wstring& error);
  void Close(int index);
  // Counts the write; true when a fault makes it fail.
  bool WriteFails();
  // Dumps the flash of the controllers still held open (at exit).
  void DumpHeld() const;

 private:
  void DumpFlash(size_t index) const;

  TSimConfig config;
  TSimRecord record;
  std::vector<std::unique_ptr<TSimController>> controllers;
  std::vector<std::string> paths;
  std::vector<bool> held;
  unsigned opens = 0;
  unsigned writes = 0;
};
