#include "info_dump.h"

#include <cstdio>
#include <cwchar>
#include <memory>

#include "console_say.h"
#include "qdxdiagnostics.h"
#include "stop_reasons.h"

namespace {

constexpr size_t MAX_STRING_CHARS = 300;
constexpr int FW_BUILD_DATE_INDEX = 4;
constexpr int FW_SIGNATURE_INDEX = 5;

// Unprogrammed descriptors read as 0xFFFF characters.
bool all_unset(const wchar_t* text) {
  for (; *text; ++text) {
    if (static_cast<unsigned>(*text) != 0xFFFF) return false;
  }
  return true;
}

void print_descriptor(hid_device* device, const char* label, int index) {
  console_say("%s", label);
  wchar_t text[MAX_STRING_CHARS + 1] = {};
  const bool read = hid_get_indexed_string(device, index, text, MAX_STRING_CHARS) == 0;
  text[MAX_STRING_CHARS] = L'\0';
  if (!read || text[0] == L'\0' || all_unset(text))
    console_say("<hidden>\n");
  else
    console_say("%ls\n", text);
}

const char* truth(bool value) { return value ? "TRUE" : "FALSE"; }

void print_status(const TDiagResp& status) {
  const unsigned flags = status.statusWord & 0xFF;
  const bool running = flags & DIAG_FLAG_RUNNING;
  std::printf("Tolvane information:\n");
  std::printf("  Is running?              %s\n", truth(running));
  if (!running) {
    std::printf("    Stop reason:             ");
    qdx_printStopReason(status.stopReason);
  }
  std::printf("  Is shipped ladder?       %s\n", truth(flags & DIAG_FLAG_SHIPPED_LADDER));
  std::printf("  Is USB send pending?     %s\n", truth(flags & DIAG_FLAG_USB_SEND_PENDING));
  std::printf("  Is cycle timing error?   %s\n", truth(flags & DIAG_FLAG_CYCLE_TIMING_ERROR));
  std::printf("  Set cycle:               %d\n", status.setCycle);
  std::printf("  Max cycle:               %d\n", status.maxCycle);
  std::printf("  Avg cycle:               %d\n", status.avgCycle);
  std::printf("  Abolute min. cycle:      %d\n", status.absMinCycle);
  std::fflush(stdout);
}

}  // namespace

bool qdx_dumpInfo(hid_device* device) {
  print_descriptor(device, "  FW build date: ", FW_BUILD_DATE_INDEX);
  print_descriptor(device, "  FW verification signature: ", FW_SIGNATURE_INDEX);
  auto diag = std::make_unique<TQDXDiagIf>(device);
  console_say("Entering diag mode... ");
  if (!diag->SetDiagMode(DIAG_MODE_INFO)) {
    console_say("Fail\n");
    return false;
  }
  console_say("OK\nReading diag response... ");
  TDiagResp status{};
  if (!diag->ReadResponse(&status)) {
    console_say("Fail\n");
    return false;
  }
  console_say("OK\n");
  print_status(status);
  return true;
}
