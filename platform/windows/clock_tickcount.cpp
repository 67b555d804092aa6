#include <windows.h>

#include "tick_extension.h"
#include "tolvane_clock.h"

uint64_t ms_tick() {
  static TTickExtension ticks;
  static const uint64_t origin = ticks.Extend(GetTickCount());
  return ticks.Extend(GetTickCount()) - origin;
}

void ms_sleep(unsigned ms) { Sleep(ms); }
