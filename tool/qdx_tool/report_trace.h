#pragma once
// The tracing build's console trace of every report the tool reads and
// writes, between the tool's own lines on standard output.
#include "hid_io.h"

class TReportTrace : public THidObserver {
 public:
  void ReadStarted(hid_device* dev, size_t length) override;
  void ReadDone(hid_device* dev, const unsigned char* data, int result) override;
  void WriteStarted(hid_device* dev, const unsigned char* data, size_t length) override;
  void WriteDone(hid_device* dev, int result) override;
};
