// hid_read and hid_read_timeout in the Windows backend: a read that finds
// nothing is cancelled before it returns, and no report is lost or read twice.
#include <gtest/gtest.h>

#include "hid_backend_fixture.h"
#include "hid_flush_buffers.h"

namespace {

class HidRead : public THidBackendTest, public ::testing::WithParamInterface<int> {};

TEST_P(HidRead, NothingPendingGivesZeroAndTheNextReportComesOnce) {
  ASSERT_NO_FATAL_FAILURE(Open());
  unsigned char report[64] = {};
  EXPECT_EQ(hid_read_timeout(dev, report, sizeof report, GetParam()), 0);
  ASSERT_NO_FATAL_FAILURE(QueueAnswers(1));
  EXPECT_EQ(hid_read_timeout(dev, report, sizeof report, GetParam()), 64);
  EXPECT_EQ(report[0], 2);
  EXPECT_EQ(report[1], 20);
  EXPECT_EQ(hid_read_timeout(dev, report, sizeof report, GetParam()), 0);
}

// A timed-out read leaves nothing running that would take a later report
// away from the flush.
TEST_P(HidRead, AFlushAfterAReadOfNothingDiscardsWhatCameSince) {
  ASSERT_NO_FATAL_FAILURE(Open());
  unsigned char report[64] = {};
  EXPECT_EQ(hid_read_timeout(dev, report, sizeof report, GetParam()), 0);
  ASSERT_NO_FATAL_FAILURE(QueueAnswers(2));
  hid_flush_buffers(dev);
  EXPECT_EQ(hid_read_timeout(dev, report, sizeof report, GetParam()), 0);
}

INSTANTIATE_TEST_SUITE_P(WaitMs, HidRead, ::testing::Values(0, 30));

using HidReadReport = THidBackendTest;

TEST_F(HidReadReport, AShortBufferTakesTheReportsFirstBytes) {
  ASSERT_NO_FATAL_FAILURE(Open());
  ASSERT_NO_FATAL_FAILURE(QueueAnswers(1));
  unsigned char report[10] = {};
  EXPECT_EQ(hid_read(dev, report, sizeof report), 10);
  EXPECT_EQ(report[1], 20);
  EXPECT_EQ(hid_read(dev, report, sizeof report), 0) << "the rest of the report is gone with it";
}

TEST_F(HidReadReport, ABlockingReadWaitsForTheReport) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_EQ(hid_write(dev, RESET_PACKET, sizeof RESET_PACKET), 64);
  unsigned char report[64] = {};
  EXPECT_EQ(hid_read(dev, report, sizeof report), 64);
  EXPECT_EQ(report[1], 20);
}

}  // namespace
