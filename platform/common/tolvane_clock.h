#pragma once
#include <cstdint>

// Milliseconds since the first reading in this process, from a clock that
// never jumps with the wall time. Only differences of two readings mean
// anything. (A Windows build implements this with GetTickCount.)
uint64_t ms_tick();

// Sleeps for at least ms milliseconds. (Sleep on Windows.)
void ms_sleep(unsigned ms);
