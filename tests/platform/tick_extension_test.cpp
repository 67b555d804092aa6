// The Windows millisecond clock keeps rising across GetTickCount's wrap.
#include <gtest/gtest.h>

#include <cstdint>

#include "tick_extension.h"
#include "tolvane_clock.h"

TEST(TickExtension, RisesAcrossEveryWrap) {
  TTickExtension ticks;
  struct {
    uint32_t tick;
    uint64_t extended;
  } readings[] = {
      {0xFFFFFF00u, 0xFFFFFF00u},  {0xFFFFFFFFu, 0xFFFFFFFFu},  {0x00000005u, 0x100000005u},
      {0x00000005u, 0x100000005u}, {0x80000000u, 0x180000000u}, {0x00000001u, 0x200000001u},
  };
  for (const auto& reading : readings) EXPECT_EQ(ticks.Extend(reading.tick), reading.extended) << reading.tick;
}

TEST(TickExtension, MillisecondClockFollowsSleep) {
  const uint64_t start = ms_tick();
  ms_sleep(50);
  const uint64_t slept = ms_tick() - start;
  EXPECT_GE(slept, 40u);  // the tick's own resolution is 10 to 16 ms
  EXPECT_LT(slept, 5000u);
}
