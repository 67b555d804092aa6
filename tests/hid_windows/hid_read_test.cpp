// hid_read and hid_read_timeout in the Windows backend: a read that finds
// nothing is cancelled before it returns, no report is lost or read twice,
// and only the 0 Windows puts before a report is taken away.
#include <gtest/gtest.h>

#include <string>

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

// Windows puts a 0 before each report of a device that uses no report
// numbers; the backend takes it away, in a read and in the flush's drain
// alike. A diagnostic report begins with its id, 2, which stays.
struct TNumberingCase {
  const char* name;
  const char* faults;
  int length;  // of the report a 64-byte read gives
};

std::ostream& operator<<(std::ostream& out, const TNumberingCase& c) { return out << c.name; }

class HidReportNumbers : public THidBackendTest, public ::testing::WithParamInterface<TNumberingCase> {};

TEST_P(HidReportNumbers, AReadStripsOnlyALeadingZero) {
  ASSERT_NO_FATAL_FAILURE(Open({{"QDXSIM_FAULTS", GetParam().faults}}));
  ASSERT_NO_FATAL_FAILURE(QueueAnswers(1));
  unsigned char report[64] = {};
  EXPECT_EQ(hid_read(dev, report, sizeof report), GetParam().length);
  EXPECT_EQ(report[0], 2);
  EXPECT_EQ(report[1], 20);
  EXPECT_EQ(report[4], 10) << "the set cycle time";
}

TEST_P(HidReportNumbers, TheDrainStripsOnlyALeadingZero) {
  ASSERT_NO_FATAL_FAILURE(Open({{"QDXSIM_FAULTS", std::string(GetParam().faults) + ",flushqueue_keeps"}}));
  ASSERT_NO_FATAL_FAILURE(QueueAnswers(1));
  testkit::TStdoutCapture trace;
  hid_flush_buffers(dev);
  const std::string text = trace.Text();
  const std::string length = std::to_string(GetParam().length);
  EXPECT_EQ(text.rfind("hid_read 64 bytes:\nRD" + length + ">02 14 00 00 0a ", 0), 0u) << text;
  EXPECT_EQ(occurrences(text, " bytes read " + length + " exit\n"), 1u) << text;
}

INSTANTIATE_TEST_SUITE_P(Reports, HidReportNumbers,
                         ::testing::Values(TNumberingCase{"report_id_2", "", 64},
                                           TNumberingCase{"leading_zero", "unnumbered", 63}),
                         [](const ::testing::TestParamInfo<TNumberingCase>& info) {
                           return std::string(info.param.name);
                         });

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
