#pragma once
// Lets tests give GetSystemTime a clock of their own.
#include "system_services.h"

typedef void (*TW32ClockSource)(LPSYSTEMTIME time);

// GetSystemTime asks `source` from now on; NULL brings back the real clock.
void w32_setClockSource(TW32ClockSource source);
