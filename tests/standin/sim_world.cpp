#include "sim_world.h"

#include <chrono>
#include <cstring>
#include <utility>

const wchar_t* const SIM_MANUFACTURER = L"Tolvane";
const wchar_t* const SIM_PRODUCT = L"QDX controller stand-in";

namespace {

// A file name has at most 255 bytes: the padding is cut into folders.
constexpr size_t path_pad_part = 200;

}  // namespace

uint64_t sim_now() {
  using TClock = std::chrono::steady_clock;
  static const TClock::time_point origin = TClock::now();
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(TClock::now() - origin).count());
}

const wchar_t* sim_open_error(TSimOpen result) {
  switch (result) {
    case TSimOpen::Ok: return L"";
    case TSimOpen::NoDevice: return L"no such device";
    case TSimOpen::Refused: return L"open refused (stand-in fault)";
    case TSimOpen::Held: return L"device is held open by another handle";
    default: return L"device has vanished (stand-in fault)";
  }
}

std::string sim_path_pad(size_t length) {
  if (length == 0) return "";
  std::string pad = "-";
  for (size_t i = 1; i <= length; ++i) pad += i % path_pad_part == 0 ? '/' : 'x';
  return pad;
}

TSimWorld::TSimWorld(TSimConfig setup, const std::string& pathPrefix)
    : config(std::move(setup)), record(config.recordPath) {
  for (size_t i = 0; i < config.controllers.size(); ++i) {
    controllers.push_back(std::make_unique<TSimController>(config, static_cast<int>(i), record));
    paths.push_back(pathPrefix + std::to_string(i) + sim_path_pad(config.pathPad));
    held.push_back(false);
    gone.push_back(false);
  }
}

void TSimWorld::DumpHeld() const {
  for (size_t i = 0; i < controllers.size(); ++i) {
    if (held[i]) DumpFlash(i);
  }
}

int TSimWorld::Find(const char* path) const {
  for (size_t i = 0; path && i < paths.size(); ++i) {
    if (paths[i] == path) return static_cast<int>(i);
  }
  return -1;
}

TSimOpen TSimWorld::Open(int index) {
  ++opens;
  if (index < 0) return TSimOpen::NoDevice;
  if (config.faults.openFail.Contains(opens)) return TSimOpen::Refused;
  if (gone[index]) return TSimOpen::Gone;
  if (held[index]) return TSimOpen::Held;
  held[index] = true;
  controllers[index]->Connected(sim_now());
  return TSimOpen::Ok;
}

void TSimWorld::Close(int index) {
  held[index] = false;
  DumpFlash(static_cast<size_t>(index));
}

TSimWrite TSimWorld::Write(int index) {
  ++writes;
  if (gone[index] || config.faults.deaf || config.faults.writeFail.Contains(writes)) return TSimWrite::Failed;
  if (config.faults.vanishAt != 0 && writes == config.faults.vanishAt) {
    gone[index] = true;
    return TSimWrite::Lost;
  }
  return TSimWrite::Delivered;
}

void TSimWorld::DumpFlash(size_t index) const {
  if (config.flashPath.empty()) return;
  std::string path = config.flashPath;
  if (index > 0) path += "." + std::to_string(index);
  sim_write_flash(path, controllers[index]->Flash());
}
