// hid_flush_buffers in the Windows backend: the driver's queue first, then
// a drain of at most 30 reads that never waits.
#include <gtest/gtest.h>

#include "hid_backend_fixture.h"
#include "hid_flush_buffers.h"
#include "tolvane_clock.h"

namespace {

const char* const DRAIN_READ = "hid_read 64 bytes:";

class HidFlush : public THidBackendTest {};

// With a hid.dll whose HidD_FlushQueue keeps the reports, the drain alone
// takes them: three reports, then the fourth read finds nothing.
TEST_F(HidFlush, DrainsThreePendingReportsInFourReads) {
  ASSERT_NO_FATAL_FAILURE(Open({{"QDXSIM_FAULTS", "flushqueue_keeps"}}));
  ASSERT_NO_FATAL_FAILURE(QueueAnswers(3));
  testkit::TStdoutCapture trace;
  hid_flush_buffers(dev);
  const std::string text = trace.Text();
  EXPECT_EQ(occurrences(text, DRAIN_READ), 4u) << text;
  EXPECT_EQ(occurrences(text, "\nRD64>02 14 "), 3u) << text;
  EXPECT_EQ(occurrences(text, " bytes read 0 exit\n"), 1u) << text;
  unsigned char report[64];
  EXPECT_EQ(hid_read(dev, report, sizeof report), 0) << "none left";
}

TEST_F(HidFlush, LeavesADeviceThatKeepsReportingAfter30Reads) {
  ASSERT_NO_FATAL_FAILURE(Open({{"QDXSIM_FAULTS", "flushqueue_keeps"}}));
  ASSERT_NO_FATAL_FAILURE(QueueAnswers(40));
  testkit::TStdoutCapture trace;
  hid_flush_buffers(dev);
  const std::string text = trace.Text();
  EXPECT_EQ(occurrences(text, DRAIN_READ), 30u);
  EXPECT_EQ(occurrences(text, "\nRD64>"), 30u);
  unsigned char report[64];
  EXPECT_EQ(hid_read(dev, report, sizeof report), 64) << "the rest stays queued";
}

TEST_F(HidFlush, HidDFlushQueueEmptiesTheQueueFirst) {
  ASSERT_NO_FATAL_FAILURE(Open());
  ASSERT_NO_FATAL_FAILURE(QueueAnswers(3));
  testkit::TStdoutCapture trace;
  hid_flush_buffers(dev);
  EXPECT_EQ(trace.Text(), std::string(DRAIN_READ) + " bytes read 0 exit\n");
  // Once before the drain and once before its one read.
  EXPECT_EQ(standin_events(Record(), "flushqueue").size(), 2u);
  unsigned char report[64];
  EXPECT_EQ(hid_read(dev, report, sizeof report), 0);
}

TEST_F(HidFlush, NeverWaitsOnABlockingDevice) {
  ASSERT_NO_FATAL_FAILURE(Start());  // blocking reads: no one switched the device
  testkit::TStdoutCapture trace;
  const uint64_t t0 = ms_tick();
  hid_flush_buffers(dev);
  EXPECT_LT(ms_tick() - t0, 500u);
  EXPECT_EQ(occurrences(trace.Text(), DRAIN_READ), 1u);
}

TEST_F(HidFlush, IgnoresANullDevice) {
  testkit::TStdoutCapture trace;
  hid_flush_buffers(nullptr);
  EXPECT_EQ(trace.Text(), "");
}

}  // namespace
