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

// What became of an open.
enum class TSimOpen { Ok, NoDevice, Refused, Held, Gone };
// What became of a write that reached the bus.
enum class TSimWrite {
  Delivered,  // the controller received it
  Failed,     // refused (fault write_fail, or the controller has vanished)
  Lost,       // the controller vanished with it (fault vanish): taken, never answered
};

// What QDXSIM_PATH_PAD puts behind each path: "-" and length characters,
// "x" and a "/" as every 200th, so that every name along the path stays one
// a file may have.
std::string sim_path_pad(size_t length);

// The text hidapi's error of a failed open shows.
const wchar_t* sim_open_error(TSimOpen result);

class TSimWorld {
 public:
  // Controller i is reached at pathPrefix + i (+ the configured padding).
  TSimWorld(TSimConfig config, const std::string& pathPrefix);
  TSimWorld(const TSimWorld&) = delete;
  TSimWorld& operator=(const TSimWorld&) = delete;

  const TSimConfig& Config() const { return config; }
  const TSimRecord& Record() const { return record; }
  size_t Count() const { return controllers.size(); }
  const std::string& Path(size_t index) const { return paths[index]; }
  TSimController& Controller(size_t index) { return *controllers[index]; }
  // The controller behind a path, or -1.
  int Find(const char* path) const;

  // Counts the open (index -1: an unknown path) and takes the controller
  // for the opener unless a fault refuses it, it is held or it has vanished.
  TSimOpen Open(int index);
  void Close(int index);
  bool Held(int index) const { return held[index]; }
  // How many opens there have been: the ordinal of the last one.
  unsigned Opens() const { return opens; }
  // Counts a write to the controller and tells what becomes of it.
  TSimWrite Write(int index);
  // Vanished (fault vanish): every later read, write and open fails.
  bool Gone(int index) const { return gone[index]; }
  // Dumps the flash of the controllers still held open (at exit).
  void DumpHeld() const;

 private:
  void DumpFlash(size_t index) const;

  TSimConfig config;
  TSimRecord record;
  std::vector<std::unique_ptr<TSimController>> controllers;
  std::vector<std::string> paths;
  std::vector<bool> held;
  std::vector<bool> gone;
  unsigned opens = 0;
  unsigned writes = 0;
};
