// The millisecond clock under the diagnostic waits.
#include <gtest/gtest.h>

#include "tolvane_clock.h"

namespace {

TEST(Clock, CountsMillisecondsFromItsFirstReading) {
  const uint64_t first = ms_tick();
  EXPECT_LT(first, 1000u) << "counted from the first reading in the process";
  ms_sleep(20);
  const uint64_t later = ms_tick();
  EXPECT_GE(later - first, 20u);
  EXPECT_LT(later - first, 2000u) << "milliseconds, not a finer unit";
}

}  // namespace
