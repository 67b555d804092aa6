#include "tolvane_clock.h"

#include <chrono>
#include <thread>

namespace {
using TMonotonic = std::chrono::steady_clock;
}

uint64_t ms_tick() {
  static const TMonotonic::time_point origin = TMonotonic::now();
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(TMonotonic::now() - origin).count());
}

void ms_sleep(unsigned ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
