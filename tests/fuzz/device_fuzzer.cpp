// The device side: whatever a controller sends back, through TQDXDiagIf and
// through the device writer's SaveAs, against a device that the input plays
// (fake_device.h). On every input the writer closes the device it opened
// exactly once, and the last mode command it sent after connecting is
// DIAG_MODE_CLOSE; a successful DIAG_MODE_CLOSE saw no report in its last
// 20 ms.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "diag_protocol.h"
#include "fake_device.h"
#include "fuzz_input.h"
#include "fuzz_support.h"
#include "output_plugin.h"
#include "qdxdiagnostics.h"

namespace {

const char* const kDevicePath = "/dev/fake0";

// The image the writer walks: runs of bytes at addresses of the input's choice.
std::vector<std::pair<uint32_t, uint8_t>> image;
size_t current = 0;

bool firstByte() {
  current = 0;
  return !image.empty();
}
bool nextByte() { return current < image.size() && ++current < image.size(); }
uint8_t byteData() { return current < image.size() ? image[current].second : 0; }
uint32_t byteAddress() { return current < image.size() ? image[current].first : 0; }

void makeImage(TFuzzInput& in) {
  image.clear();
  uint32_t address = in.flag() ? 0 : in.u32();
  for (size_t runs = 1 + in.below(3); runs > 0; --runs) {
    for (const uint8_t byte : in.bytes(in.u16() % 1200)) image.emplace_back(address++, byte);
    address += in.flag() ? 1 + in.below(200) : in.u32();
  }
}

TFakeEntry entryAt(const char* path) {
  TFakeEntry entry;
  entry.path = path;
  return entry;
}

std::wstring wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::vector<TFakeEntry> makeEntries(TFuzzInput& in) {
  std::vector<TFakeEntry> entries;
  for (size_t i = 0, count = in.below(4); i < count; ++i) {
    TFakeEntry entry;
    entry.path = "/dev/fake" + std::to_string(i);
    if (in.below(4) == 0) entry.usagePage = in.u16();
    if (in.below(4) == 0) entry.usage = in.u16();
    if (in.below(4) == 0) entry.release = in.u16();
    entry.hasSerial = in.below(8) != 0;
    entry.serial = in.flag() ? L"QDX" + std::to_wstring(i) : wide(in.text(12));
    entry.hasProduct = in.below(8) != 0;
    entry.product = wide(in.text(12));
    entries.push_back(entry);
  }
  return entries;
}

std::string destination(TFuzzInput& in) {
  switch (in.below(4)) {
    case 0: return std::string("/../?/qdx1://@") + kDevicePath;
    case 1: return "/../?/qdx1://@" + in.text(16);
    case 2: {
      const std::string serial = in.flag() ? "QDX" + std::to_string(in.below(4)) : in.text(16);
      return "/../?/qdx1://" + serial + ":" + in.text(4);
    }
    default: return in.text(24);
  }
}

void programThroughTheWriter(TFuzzInput& in) {
  makeImage(in);
  std::vector<TFakeEntry> entries = makeEntries(in);
  if (entries.empty()) entries.push_back(entryAt(kDevicePath));
  const std::string to = destination(in);
  const bool openFails = in.below(8) == 0;
  Set_GetFirstByte_Func(firstByte);
  Set_GetNextByte_Func(nextByte);
  Set_GetCurrentByteData_Func(byteData);
  Set_GetCurrentByteAddress_Func(byteAddress);
  fake_begin(in, entries, openFails);
  SaveAs(to.c_str());

  const TFakeRecord& done = fake_record();
  if (done.opens > 1) fuzz_fail("the writer opens the device once");
  if (done.closes != done.opens) fuzz_fail("the writer closes the device it opened, once");
  if (done.opens == 0 && !done.modes.empty()) fuzz_fail("nothing is sent without a connection");
  if (done.opens == 1 && (done.modes.empty() || done.modes.back() != DIAG_MODE_CLOSE))
    fuzz_fail("the last mode command after connecting is DIAG_MODE_CLOSE");
}

// Any value the enumeration can hold, named or not.
DIAG_CONSTANTS diagValue(TFuzzInput& in) { return static_cast<DIAG_CONSTANTS>(in.below(64)); }

void talkToTheController(TFuzzInput& in) {
  fake_begin(in, {entryAt(kDevicePath)}, false);
  hid_device* dev = hid_open_path(kDevicePath);
  {
    TQDXDiagIf diag(dev);
    static const DIAG_CONSTANTS modes[] = {DIAG_MODE_CLOSE, DIAG_MODE_INFO, DIAG_MODE_ERASE, DIAG_MODE_START,
                                           DIAG_MODE_STOP};
    while (!in.empty()) {
      switch (in.below(10)) {
        case 0: {
          const DIAG_CONSTANTS mode = in.flag() ? in.pick(modes) : diagValue(in);
          const bool confirmed = diag.SetDiagMode(mode);
          if (confirmed && mode == DIAG_MODE_CLOSE && fake_record().reportedValid &&
              fake_nowUs() - fake_record().lastValidReportUs <= 20000)
            fuzz_fail("a confirmed close saw no report in its last 20 ms");
          break;
        }
        case 1: diag.ResetDiag(); break;
        case 2: {
          TDiagResp response;
          diag.ReadResponse(in.below(8) == 0 ? nullptr : &response);
          break;
        }
        case 3: diag.WaitDiagNotBusy(in.u16() % 2000); break;
        case 4: {
          const DIAG_CONSTANTS code = diagValue(in);
          diag.WaitForDiagRespCode(code, in.u16() % 2000);
          break;
        }
        case 5: {
          const std::vector<uint8_t> data = in.bytes(in.u16() % 300);
          diag.SendBuffer(data.empty() ? nullptr : data.data(), static_cast<unsigned>(data.size()));
          break;
        }
        case 6: {
          const DIAG_CONSTANTS type = diagValue(in);
          const int length = static_cast<int>(static_cast<int16_t>(in.u16()));
          diag.SendDiagBuffer(type, length, in.flag());
          break;
        }
        case 7: diag.GetDiagResponse(static_cast<int>(in.below(255)) - 4); break;
        case 8: diag.FlushBuffers(); break;
        default:
          diag.ClearDiagBufOut();
          (void)diag.GetLastResponseCode();
          break;
      }
    }
  }
  hid_close(dev);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_silenceStdout();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TFuzzInput in(data, size);
  if (in.flag())
    programThroughTheWriter(in);
  else
    talkToTheController(in);
  return 0;
}
