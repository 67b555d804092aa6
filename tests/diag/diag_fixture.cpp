#include "diag_fixture.h"

#include <algorithm>

#include "tolvane_clock.h"

void TTrafficCounter::ReadStarted(hid_device*, size_t length) {
  ++reads;
  readLengths.push_back(length);
}

void TTrafficCounter::WriteStarted(hid_device*, const unsigned char*, size_t) { ++writes; }

void TTrafficCounter::Clear() {
  reads = writes = 0;
  readLengths.clear();
}

void TDiagTest::SetUp() { previous = hidio_set_observer(&traffic); }

void TDiagTest::TearDown() {
  diag.reset();
  hidio_set_observer(previous);
  TStandinTest::TearDown();
}

void TDiagTest::Open(const TStandinEnv& env) {
  ASSERT_NO_FATAL_FAILURE(Start(env));
  diag = std::make_unique<TQDXDiagIf>(dev);
  traffic.Clear();
}

void TDiagTest::Load(const std::vector<uint8_t>& image) {
  ASSERT_TRUE(diag->SetDiagMode(DIAG_MODE_STOP));
  ASSERT_TRUE(diag->SetDiagMode(DIAG_MODE_ERASE));
  for (size_t at = 0; at < image.size(); at += 128) {
    uint8_t block[132];
    std::fill(std::begin(block), std::end(block), 0xFF);
    for (int i = 0; i < 4; ++i) block[i] = static_cast<uint8_t>(at >> (8 * i));
    std::copy(image.begin() + at, image.begin() + std::min(image.size(), at + 128), block + 4);
    ASSERT_TRUE(diag->SendBuffer(block, sizeof block));
    ASSERT_TRUE(diag->WaitDiagNotBusy(1000));
    ASSERT_EQ(diag->GetLastResponseCode(), DIAG_RESP_OK);
  }
}

TDiagResp TDiagTest::Information() {
  TDiagResp info{};
  EXPECT_TRUE(diag->SetDiagMode(DIAG_MODE_INFO));
  EXPECT_TRUE(diag->ReadResponse(&info));
  EXPECT_EQ(info.respCode, DIAG_RESP_INFO);
  return info;
}

uint64_t ms_since(uint64_t t0) { return ms_tick() - t0; }
