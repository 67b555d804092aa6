#include <windows.h>

#include "tolvane_clock.h"

uint64_t ms_tick() {
  static const DWORD origin = GetTickCount();
  // Unsigned 32-bit difference: right across the tick's wrap after 49.7 days.
  return static_cast<DWORD>(GetTickCount() - origin);
}

void ms_sleep(unsigned ms) { Sleep(ms); }
