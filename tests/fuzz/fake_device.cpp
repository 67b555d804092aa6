#include "fake_device.h"

#include <hidapi.h>

#include <algorithm>
#include <cstring>

#include "fuzz_support.h"
#include "hid_exclusive.h"
#include "tolvane_clock.h"

struct hid_device_ {
  bool open = false;
};

namespace {

constexpr uint64_t kCallUs = 50;
constexpr unsigned char kReportId = 2;
constexpr size_t kReportSize = 64;

TFuzzInput* script = nullptr;
std::vector<TFakeEntry> listed;
bool failOpen = false;
hid_device_ device;
TFakeRecord record;
uint64_t nowUs = 0;
unsigned lastMode = 0;
bool lastWasMode = false;

void checkDevice(hid_device* dev) {
  if (dev != &device || !device.open) fuzz_fail("hidapi is called with the open device only");
}

// The confirmation a willing controller sends for the last packet.
void willingAnswer(unsigned char* report) {
  report[1] = 20;
  unsigned status = 0;
  if (lastWasMode) {
    status = lastMode;
    if (lastMode == 42) report[1] = 23;
    if (lastMode == 44) status = 45;
    if (lastMode == 47) status = 46;
  }
  report[2] = static_cast<unsigned char>(status);
  report[3] = static_cast<unsigned char>(status >> 8);
}

// Fills report with the next answer; gives its length, 0 for none, -1 for an error.
int nextReport(unsigned char* report) {
  if (script->empty()) return 0;
  static const unsigned char codes[] = {20, 21, 22, 23};
  static const unsigned short words[] = {0, 40, 41, 42, 44, 45, 46, 47, 48};
  std::memset(report, 0, kReportSize);
  report[0] = kReportId;
  switch (script->below(8)) {
    case 0: return 0;
    case 1: return -1;
    case 2: {
      report[1] = script->flag() ? script->pick(codes) : script->byte();
      const unsigned short word = script->flag() ? script->pick(words) : script->u16();
      report[2] = static_cast<unsigned char>(word);
      report[3] = static_cast<unsigned char>(word >> 8);
      const uint16_t stopReason = script->u16();
      report[12] = static_cast<unsigned char>(stopReason);
      report[13] = static_cast<unsigned char>(stopReason >> 8);
      return kReportSize;
    }
    case 3: willingAnswer(report); return kReportSize;
    case 4: report[1] = 21; return kReportSize;
    case 5: report[1] = script->byte(); return 1 + static_cast<int>(script->below(kReportSize - 1));
    case 6: report[0] = script->byte(); return kReportSize;
    default: {
      const std::vector<uint8_t> bytes = script->bytes(1 + script->below(kReportSize));
      std::copy(bytes.begin(), bytes.end(), report);
      return static_cast<int>(bytes.size());
    }
  }
}

int read(hid_device* dev, unsigned char* data, size_t length) {
  checkDevice(dev);
  nowUs += kCallUs;
  unsigned char report[kReportSize];
  const int got = nextReport(report);
  if (got <= 0) return got;
  const size_t taken = std::min(length, static_cast<size_t>(got));
  std::memcpy(data, report, taken);
  if (taken == kReportSize && report[0] == kReportId) {
    record.lastValidReportUs = nowUs;
    record.reportedValid = true;
  }
  return static_cast<int>(taken);
}

wchar_t* copied(const std::wstring& text) {
  wchar_t* copy = new wchar_t[text.size() + 1];
  std::wmemcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

}  // namespace

void fake_begin(TFuzzInput& input, const std::vector<TFakeEntry>& entries, bool openFails) {
  script = &input;
  listed = entries;
  failOpen = openFails;
  device.open = false;
  record = TFakeRecord{};
  nowUs = 0;
  lastMode = 0;
  lastWasMode = false;
}

const TFakeRecord& fake_record() { return record; }
uint64_t fake_nowUs() { return nowUs; }

uint64_t ms_tick() { return nowUs / 1000; }
void ms_sleep(unsigned ms) { nowUs += uint64_t{ms} * 1000; }

extern "C" {

hid_device_info* hid_enumerate(unsigned short, unsigned short) {
  hid_device_info* first = nullptr;
  for (auto entry = listed.rbegin(); entry != listed.rend(); ++entry) {
    auto* info = new hid_device_info{};
    info->path = new char[entry->path.size() + 1];
    std::memcpy(info->path, entry->path.c_str(), entry->path.size() + 1);
    info->vendor_id = 0x04D8;
    info->product_id = 0xFFEF;
    info->serial_number = entry->hasSerial ? copied(entry->serial) : nullptr;
    info->release_number = entry->release;
    info->product_string = entry->hasProduct ? copied(entry->product) : nullptr;
    info->usage_page = entry->usagePage;
    info->usage = entry->usage;
    info->next = first;
    first = info;
  }
  return first;
}

void hid_free_enumeration(hid_device_info* devs) {
  while (devs) {
    hid_device_info* next = devs->next;
    delete[] devs->path;
    delete[] devs->serial_number;
    delete[] devs->product_string;
    delete devs;
    devs = next;
  }
}

hid_device* hid_open_path(const char* path) {
  if (device.open) fuzz_fail("one device open at a time");
  bool known = false;
  for (const TFakeEntry& entry : listed) known = known || entry.path == path;
  if (!known || failOpen) return nullptr;
  device.open = true;
  ++record.opens;
  return &device;
}

void hid_close(hid_device* dev) {
  checkDevice(dev);
  device.open = false;
  ++record.closes;
}

int hid_set_nonblocking(hid_device* dev, int) {
  checkDevice(dev);
  return 0;
}

int hid_read(hid_device* dev, unsigned char* data, size_t length) { return read(dev, data, length); }

int hid_read_timeout(hid_device* dev, unsigned char* data, size_t length, int) { return read(dev, data, length); }

int hid_write(hid_device* dev, const unsigned char* data, size_t length) {
  checkDevice(dev);
  nowUs += kCallUs;
  if (length != kReportSize) fuzz_fail("every packet is one 64-byte report");
  lastWasMode = data[0] == kReportId && (data[1] & 0x0F) == 2;
  if (lastWasMode) {
    lastMode = static_cast<unsigned>(data[2] | data[3] << 8);
    record.modes.push_back(lastMode);
  }
  const bool fails = !script->empty() && script->below(16) == 0;
  return fails ? -1 : static_cast<int>(length);
}

}  // extern "C"

// The HID layer's exclusive open, over the fake's own: its one device is
// held by one handle at a time already.
hid_device* hidio_open_exclusive(const char* path) { return path ? hid_open_path(path) : nullptr; }

void hidio_close(hid_device* dev) {
  if (dev) hid_close(dev);
}
