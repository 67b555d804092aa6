// The verbose build's console trace, line for line.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "hid_backend_fixture.h"
#include "temp_dir.h"

namespace {

// n bytes of 0 as the trace prints them, without line breaks.
std::string zeros(size_t n) {
  std::string text;
  for (size_t i = 0; i < n; ++i) text += "00 ";
  return text;
}

const std::string ROW = "\n    ";

class HidTrace : public THidBackendTest {};

// The answer to a reset: the maximum cycle time is reset to the average.
TEST_F(HidTrace, AReportWrittenAndTheAnswerRead) {
  ASSERT_NO_FATAL_FAILURE(Open());
  unsigned char report[64] = {};
  testkit::TStdoutCapture trace;
  ASSERT_EQ(hid_write(dev, RESET_PACKET, sizeof RESET_PACKET), 64);
  ASSERT_NO_FATAL_FAILURE(WaitIdle());
  ASSERT_EQ(hid_read(dev, report, sizeof report), 64);
  ASSERT_EQ(hid_read(dev, report, sizeof report), 0);
  EXPECT_EQ(trace.Text(), "\nWR64>02 01 " + zeros(14) + ROW + zeros(16) + ROW + zeros(16) + ROW + zeros(16) +
                              "hid_read 64 bytes:\nRD64>02 14 00 00 0a 00 06 00 06 00 04 00 00 00 00 00 " + ROW +
                              zeros(16) + ROW + zeros(16) + ROW + zeros(16) + " bytes read 64 exit\n" +
                              "hid_read 64 bytes: bytes read 0 exit\n");
}

TEST_F(HidTrace, AVanishedControllerFailsReadsAndWrites) {
  ASSERT_NO_FATAL_FAILURE(Open({{"QDXSIM_FAULTS", "vanish:1"}}));
  ASSERT_EQ(hid_write(dev, RESET_PACKET, sizeof RESET_PACKET), 64);  // taken, never answered
  ASSERT_NO_FATAL_FAILURE(WaitIdle());
  unsigned char report[64] = {};
  testkit::TStdoutCapture trace;
  EXPECT_EQ(hid_read(dev, report, sizeof report), -1);
  EXPECT_EQ(hid_write(dev, RESET_PACKET, 2), -1);
  const std::string text = trace.Text();
  EXPECT_TRUE(std::regex_match(text, std::regex("hid_read 64 bytes: bytes read -1 exit\n"
                                                "\nWR2>02 01 ErrWr:[1-9][0-9]* >>> -1\n")))
      << text;
}

// The write waits a second for a controller that takes nothing, then gives up.
TEST_F(HidTrace, AWriteThatNeverCompletes) {
  ASSERT_NO_FATAL_FAILURE(Open({{"QDXSIM_FAULTS", "deaf"}}));
  // The pipe takes 64 reports before the writer has to wait.
  int written = 0;
  while (written < 100 && hid_write(dev, RESET_PACKET, sizeof RESET_PACKET) == 64) ++written;
  EXPECT_EQ(written, 64);
  testkit::TStdoutCapture trace;
  EXPECT_EQ(hid_write(dev, RESET_PACKET, 2), -1);
  EXPECT_EQ(trace.Text(), "\nWR2>02 01 ErrWt:0 >>> -1\n");
}

TEST_F(HidTrace, ZeroLengthWrite) {
  ASSERT_NO_FATAL_FAILURE(Open());
  testkit::TStdoutCapture trace;
  EXPECT_EQ(hid_write(dev, RESET_PACKET, 0), -1);
  EXPECT_EQ(trace.Text(), "\nWR0>ErrWr:87 >>> -1\n");
}

// Feature reports on a plain device (a file) with a feature report length of 9.
TEST_F(HidTrace, FeatureReports) {
  ASSERT_NO_FATAL_FAILURE(Start({{"QDXSIM_REPORT_LENGTHS", "64,64,9"}}, false));
  testkit::TTempDir folder;
  const std::string file = folder.Write("device", "");
  hid_device* device = hid_open_path(file.c_str());
  ASSERT_NE(device, nullptr);
  const unsigned char feature[10] = {5, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  unsigned char in[5] = {5};
  testkit::TStdoutCapture trace;
  hid_send_feature_report(device, feature, 9);
  hid_send_feature_report(device, feature, 10);
  hid_get_feature_report(device, in, sizeof in);
  const std::string text = trace.Text();
  hid_close(device);
  EXPECT_EQ(text,
            "\nWF9>05 01 02 03 04 05 06 07 08 "
            "\nWF10>05 01 02 03 04 05 06 07 08 09 WARNING: Trying to send too many bytes! (Max:9)\n"
            "hid_read_feature 5 bytes:");
}

}  // namespace
