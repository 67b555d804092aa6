// hid_flush_buffers over hidapi's public reads.
#include <gtest/gtest.h>

#include "diag_fixture.h"
#include "hid_flush_buffers.h"
#include "tolvane_clock.h"

namespace {

class HidFlush : public TDiagTest {};

TEST_F(HidFlush, DiscardsEveryPendingReport) {
  ASSERT_NO_FATAL_FAILURE(Open());
  // Each reset packet is answered with one report, left unread.
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(diag->SendDiagBuffer(DIAG_PKT_RESET, 1, false));
  traffic.Clear();
  hid_flush_buffers(dev);
  EXPECT_EQ(traffic.reads, 4) << "three reports, then a read that finds nothing";
  EXPECT_EQ(traffic.readLengths, std::vector<size_t>(4, 64));
  unsigned char report[64];
  EXPECT_EQ(hidio_read_now(dev, report, sizeof report), 0);
}

// As many as a reader's queue holds: every one goes, not merely the first 30.
TEST_F(HidFlush, DiscardsAFullQueue) {
  ASSERT_NO_FATAL_FAILURE(Open());
  for (int i = 0; i < 64; ++i) ASSERT_TRUE(diag->SendDiagBuffer(DIAG_PKT_RESET, 1, false));
  traffic.Clear();
  hid_flush_buffers(dev);
  EXPECT_EQ(traffic.reads, 65);
  EXPECT_EQ(diag->GetDiagResponse(1), -1) << "nothing is left";
}

// The drain reads what has come and ends, while the controller goes on.
TEST_F(HidFlush, EndsWhileTheControllerKeepsReporting) {
  ASSERT_NO_FATAL_FAILURE(Open({{"QDXSIM_FAULTS", "chatty"}}));
  ASSERT_TRUE(diag->SetDiagMode(DIAG_MODE_INFO));
  ms_sleep(500);  // fifty reports queue up
  traffic.Clear();
  hid_flush_buffers(dev);
  EXPECT_GE(traffic.reads, 51);
  ms_sleep(30);
  EXPECT_EQ(diag->GetDiagResponse(1), 64) << "the controller reports on";
}

TEST_F(HidFlush, NeverWaitsOnABlockingDevice) {
  ASSERT_NO_FATAL_FAILURE(Start({{"QDXSIM_READ_BOUND_MS", "3000"}}));
  const uint64_t t0 = ms_tick();
  hid_flush_buffers(dev);  // the device is still in blocking mode: no interface switched it
  EXPECT_LT(ms_since(t0), 1000u);
}

TEST_F(HidFlush, IgnoresANullDevice) {
  ASSERT_NO_FATAL_FAILURE(Start({}, false));
  hid_flush_buffers(nullptr);
  EXPECT_EQ(traffic.reads, 0);
}

}  // namespace
