// The observer hook of the HID layer: what a trace build gets to see.
#include <gtest/gtest.h>

#include "diag_fixture.h"

namespace {

struct TEvent {
  char kind;  // r: read started, R: read done, w: write started, W: write done
  size_t length;
  int result;
  int firstByte;
};

class TRecorder : public THidObserver {
 public:
  void ReadStarted(hid_device*, size_t length) override { events.push_back({'r', length, 0, -1}); }
  void ReadDone(hid_device*, const unsigned char* data, int result) override {
    events.push_back({'R', 0, result, result > 0 ? data[0] : -1});
  }
  void WriteStarted(hid_device*, const unsigned char* data, size_t length) override {
    events.push_back({'w', length, 0, data ? data[0] : -1});
  }
  void WriteDone(hid_device*, int result) override { events.push_back({'W', 0, result, -1}); }

  std::vector<TEvent> events;
};

class HidIo : public TStandinTest {};

TEST_F(HidIo, TheObserverSeesEveryReportWithItsResult) {
  ASSERT_NO_FATAL_FAILURE(Start());
  TRecorder recorder;
  THidObserver* previous = hidio_set_observer(&recorder);
  {
    TQDXDiagIf diag(dev);
    ASSERT_TRUE(diag.SendDiagBuffer(DIAG_PKT_RESET, 1, false));
    ASSERT_EQ(diag.GetDiagResponse(2), 64);
  }
  hidio_write(nullptr, nullptr, 64);
  hidio_set_observer(previous);

  const std::vector<TEvent>& e = recorder.events;
  ASSERT_EQ(e.size(), 6u);
  EXPECT_EQ(e[0].kind, 'w');
  EXPECT_EQ(e[0].length, 64u);
  EXPECT_EQ(e[0].firstByte, 2);
  EXPECT_EQ(e[1].kind, 'W');
  EXPECT_EQ(e[1].result, 64);
  EXPECT_EQ(e[2].kind, 'r');
  EXPECT_EQ(e[2].length, 64u);
  EXPECT_EQ(e[3].kind, 'R');
  EXPECT_EQ(e[3].result, 64);
  EXPECT_EQ(e[3].firstByte, 2);
  EXPECT_EQ(e[4].kind, 'w') << "a missing device is refused, not handed to hidapi";
  EXPECT_EQ(e[5].kind, 'W');
  EXPECT_EQ(e[5].result, -1);
}

}  // namespace
