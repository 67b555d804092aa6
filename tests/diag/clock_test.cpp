// The millisecond clock under the diagnostic waits.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "tolvane_clock.h"

namespace {

// Exits 0 when the clock counts milliseconds from the first reading of the process.
void readTheClockFirst() {
  const uint64_t first = ms_tick();
  ms_sleep(20);
  const uint64_t later = ms_tick();
  const bool fromFirstReading = first < 1000;
  const bool milliseconds = later - first >= 20 && later - first < 2000;
  if (fromFirstReading && milliseconds) std::exit(0);
  std::fprintf(stderr, "first reading %llu, 20 ms later %llu\n", static_cast<unsigned long long>(first),
               static_cast<unsigned long long>(later));
  std::exit(1);
}

TEST(Clock, CountsMillisecondsFromItsFirstReading) {
  // Other tests of this program read the clock first: the reading is taken
  // in a process of its own, started afresh rather than forked.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(readTheClockFirst(), testing::ExitedWithCode(0), "");
}

}  // namespace
