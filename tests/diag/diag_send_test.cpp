// Packets as they leave TQDXDiagIf: headers, payload slices, refusals.
#include <gtest/gtest.h>

#include <numeric>
#include <ostream>

#include "diag_fixture.h"

namespace {

struct TSendCase {
  unsigned length;
  std::vector<uint8_t> headers;
};

void PrintTo(const TSendCase& c, std::ostream* out) { *out << c.length << " bytes"; }

class DiagSend : public TDiagTest, public ::testing::WithParamInterface<TSendCase> {};

TEST_P(DiagSend, SplitsTheDataInto62BytePacketSlices) {
  ASSERT_NO_FATAL_FAILURE(Open());
  const TSendCase& c = GetParam();
  std::vector<uint8_t> data(c.length);
  std::iota(data.begin(), data.end(), uint8_t(1));
  ASSERT_TRUE(diag->SendBuffer(data.data(), c.length));

  const std::vector<TBytes> written = Written();
  ASSERT_EQ(written.size(), c.headers.size());
  for (size_t k = 0; k < written.size(); ++k) {
    TBytes expected(64, 0);
    expected[0] = 2;
    expected[1] = c.headers[k];
    for (size_t i = 0; i < 62 && 62 * k + i < c.length; ++i) expected[2 + i] = data[62 * k + i];
    EXPECT_EQ(written[k], expected) << "packet " << k;
  }
}

INSTANTIATE_TEST_SUITE_P(Lengths, DiagSend,
                         ::testing::Values(TSendCase{1, {0x00}}, TSendCase{6, {0x00}}, TSendCase{61, {0x00}},
                                           TSendCase{62, {0x10}}, TSendCase{63, {0x10, 0x50}},
                                           TSendCase{132, {0x20, 0x60, 0xA0}},
                                           TSendCase{248, {0x00, 0x40, 0x80, 0xC0}}),
                         [](const auto& info) { return std::to_string(info.param.length) + "_bytes"; });

class DiagSendRefusal : public TDiagTest {};

TEST_F(DiagSendRefusal, MoreThanTheBufferIsRefusedWithNothingSent) {
  ASSERT_NO_FATAL_FAILURE(Open());
  std::vector<uint8_t> data(249, 0x11);
  EXPECT_FALSE(diag->SendBuffer(data.data(), 249));
  EXPECT_FALSE(diag->SendBuffer(nullptr, 6)) << "no data to copy";
  EXPECT_TRUE(diag->SendDiagBuffer(DIAG_PKT_DATA, -5)) << "a negative length sends nothing";
  EXPECT_TRUE(diag->SendBuffer(nullptr, 0));
  EXPECT_TRUE(Written().empty());
}

TEST_F(DiagSendRefusal, AFailedWriteEndsTheSend) {
  ASSERT_NO_FATAL_FAILURE(Open({{"QDXSIM_FAULTS", "write_fail:2"}}));
  std::vector<uint8_t> data(132, 0x22);
  EXPECT_FALSE(diag->SendBuffer(data.data(), 132));
  EXPECT_EQ(traffic.writes, 2) << "the third packet is not sent";
  // Each packet's flush and the first one's acknowledgement; none is
  // awaited for the failed one.
  EXPECT_EQ(traffic.reads, 3);
}

TEST_F(DiagSendRefusal, AnUnansweredPacketFailsAfter250Polls) {
  ASSERT_NO_FATAL_FAILURE(Open({{"QDXSIM_FAULTS", "silent"}}));
  std::vector<uint8_t> data(132, 0x33);
  EXPECT_FALSE(diag->SendBuffer(data.data(), 132));
  EXPECT_EQ(traffic.writes, 1);
  EXPECT_EQ(traffic.reads, 1 + 250) << "the flush before the packet, then the wait";
}

TEST_F(DiagSendRefusal, WithoutWaitNothingIsRead) {
  ASSERT_NO_FATAL_FAILURE(Open({{"QDXSIM_FAULTS", "silent"}}));
  EXPECT_TRUE(diag->SendDiagBuffer(DIAG_PKT_DATA, 132, false));
  EXPECT_EQ(traffic.writes, 3);
  EXPECT_EQ(traffic.reads, 0);
}

struct TResetCase {
  const char* name;
  TStandinEnv env;
  bool result;
  int reads;
};

std::ostream& operator<<(std::ostream& out, const TResetCase& c) { return out << c.name; }

class DiagReset : public TDiagTest, public ::testing::WithParamInterface<TResetCase> {};

// The reset reads its answer: left unread, the answer would stand in for the
// next command's acknowledgement. Reads: the flush before the packet, then
// the wait for its answer.
TEST_P(DiagReset, ReadsTheAnswerToItsPacket) {
  ASSERT_NO_FATAL_FAILURE(Open(GetParam().env));
  EXPECT_EQ(diag->ResetDiag(), GetParam().result);
  EXPECT_EQ(traffic.writes, 1);
  EXPECT_EQ(traffic.reads, GetParam().reads);
}

INSTANTIATE_TEST_SUITE_P(Controllers, DiagReset,
                         ::testing::Values(TResetCase{"answered", {}, true, 1 + 1},
                                           TResetCase{"refused", {{"QDXSIM_FAULTS", "refuse:reset"}}, false, 1 + 1},
                                           TResetCase{"unanswered", {{"QDXSIM_FAULTS", "silent"}}, false, 1 + 250},
                                           TResetCase{
                                               "packet_not_written", {{"QDXSIM_FAULTS", "write_fail:1"}}, false, 1}),
                         [](const ::testing::TestParamInfo<TResetCase>& info) { return std::string(info.param.name); });

TEST_F(DiagReset, SendsOneZeroedResetPacket) {
  ASSERT_NO_FATAL_FAILURE(Open());
  std::vector<uint8_t> data(62, 0x44);
  ASSERT_TRUE(diag->SendBuffer(data.data(), 62));
  EXPECT_TRUE(diag->ResetDiag());
  TBytes expected(64, 0);
  expected[0] = 2;
  expected[1] = 0x01;
  EXPECT_EQ(Written().back(), expected);
}

TEST_F(DiagReset, SwitchesTheDeviceToNonBlockingReads) {
  ASSERT_NO_FATAL_FAILURE(Open());
  std::vector<TRecordLine> modes = standin_events(Record(), "nonblocking");
  ASSERT_EQ(modes.size(), 1u);
  EXPECT_EQ(modes[0].fields, (std::vector<std::string>{"0", "1"}));
}

// Without a device nothing is sent or read and nothing crashes.
class DiagWithoutDevice : public TDiagTest {};

TEST_F(DiagWithoutDevice, RefusesEverythingThatNeedsTheDevice) {
  ASSERT_NO_FATAL_FAILURE(Start({}, false));
  TQDXDiagIf none(nullptr);
  uint8_t data[6] = {};
  TDiagResp out{};
  EXPECT_TRUE(none.SendDiagBuffer(DIAG_PKT_DATA, 0));
  EXPECT_TRUE(none.SendBuffer(data, 0));
  EXPECT_FALSE(none.SendDiagBuffer(DIAG_PKT_DATA, 6));
  EXPECT_FALSE(none.SendBuffer(data, 6));
  EXPECT_FALSE(none.ResetDiag());
  EXPECT_FALSE(none.SetDiagMode(DIAG_MODE_STOP));
  EXPECT_FALSE(none.SetDiagMode(DIAG_MODE_CLOSE));
  EXPECT_EQ(none.GetDiagResponse(), -1);
  EXPECT_FALSE(none.WaitDiagNotBusy(1000));
  EXPECT_FALSE(none.WaitForDiagRespCode(DIAG_RESP_OK, 1000));
  EXPECT_FALSE(none.ReadResponse(&out));
  EXPECT_TRUE(none.FlushBuffers());
  EXPECT_EQ(none.GetLastResponseCode(), 0);
  EXPECT_EQ(traffic.reads + traffic.writes, 0);
}

}  // namespace
