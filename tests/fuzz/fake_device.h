#pragma once
// The controller as a fuzz input plays it: this program defines the hidapi
// functions that the diagnostic interface and the device writer call (and
// the HID layer's exclusive open over them), and
// every report the device sends back comes from the input. Time is virtual:
// each read or write takes 50 microseconds, each sleep its length, so that
// no wait takes real time. The calls are recorded for the checks.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_input.h"

// An entry of the device list, for the writer's choice by serial number.
struct TFakeEntry {
  std::string path;
  unsigned short usagePage = 0x0001;
  unsigned short usage = 0x0004;
  unsigned short release = 0x1102;
  bool hasSerial = true;
  std::wstring serial;
  bool hasProduct = true;
  std::wstring product;
};

struct TFakeRecord {
  int opens = 0;
  int closes = 0;
  std::vector<unsigned> modes;     // the mode commands written to the open device, in order
  uint64_t lastValidReportUs = 0;  // when the last 64-byte report with id 2 was read
  bool reportedValid = false;
};

// A new device for one run: the entries it lists, whether opening fails, and
// the input that from now on decides every answer.
void fake_begin(TFuzzInput& script, const std::vector<TFakeEntry>& entries, bool openFails);
const TFakeRecord& fake_record();
uint64_t fake_nowUs();
