#include "sim_world.h"

#include <chrono>
#include <cstring>
#include <utility>

const wchar_t* const SIM_MANUFACTURER = L"Tolvane";
const wchar_t* const SIM_PRODUCT = L"QDX controller stand-in";

uint64_t sim_now() {
  using TClock = std::chrono::steady_clock;
  static const TClock::time_point origin = TClock::now();
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(TClock::now() - origin).count());
}

TSimWorld::TSimWorld(TSimConfig setup) : config(std::move(setup)), record(config.recordPath) {
  for (size_t i = 0; i < config.controllers.size(); ++i) {
    controllers.push_back(std::make_unique<TSimController>(config, static_cast<int>(i), record));
    std::string path = "/dev/qdxsim" + std::to_string(i);
    if (config.pathPad > 0) path += "-" + std::string(config.pathPad, 'x');
    paths.push_back(path);
    held.push_back(false);
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

bool TSimWorld::Open(int index, std::wstring& error) {
  ++opens;
  if (index < 0) {
    error = L"no such device";
    return false;
  }
  if (config.faults.openFail.Contains(opens)) {
    error = L"open refused (stand-in fault)";
    return false;
  }
  if (held[index]) {
    error = L"device is held open by another handle";
    return false;
  }
  held[index] = true;
  controllers[index]->Connected(sim_now());
  return true;
}

void TSimWorld::Close(int index) {
  held[index] = false;
  DumpFlash(static_cast<size_t>(index));
}

bool TSimWorld::WriteFails() { return config.faults.writeFail.Contains(++writes); }

void TSimWorld::DumpFlash(size_t index) const {
  if (config.flashPath.empty()) return;
  std::string path = config.flashPath;
  if (index > 0) path += "." + std::to_string(index);
  sim_write_flash(path, controllers[index]->Flash());
}
