// qdx_tool: lists the connected QDX controllers, selects one, prints its
// status, resets, stops, programs and starts it as the command line asks.
#include <hidapi.h>

#include <clocale>
#include <cstdio>
#include <memory>
#include <string>

#include "arguments.h"
#include "console_say.h"
#include "device_listing.h"
#include "info_dump.h"
#include "programming_road.h"
#include "qdxdiagnostics.h"
#include "test_loop.h"
#include "trace_switch.h"

namespace {

// One diagnostic action on its own interface object. The reset, stop and
// start prompts are printed without a flush; their answer follows at once.
bool run_diag_action(hid_device* device, const char* prompt, bool (*action)(TQDXDiagIf&), bool flushPrompt) {
  if (flushPrompt)
    console_say("%s", prompt);
  else
    std::printf("%s", prompt);
  auto diag = std::make_unique<TQDXDiagIf>(device);
  const bool done = action(*diag);
  console_say(done ? "OK\n" : "Fail\n");
  return done;
}

bool reset_diag(TQDXDiagIf& diag) { return diag.ResetDiag(); }

bool stop(TQDXDiagIf& diag) { return diag.SetDiagMode(DIAG_MODE_STOP); }

bool start(TQDXDiagIf& diag) { return diag.SetDiagMode(DIAG_MODE_START); }

bool close_diag(TQDXDiagIf& diag) { return diag.SetDiagMode(DIAG_MODE_CLOSE); }

// Everything after the open; false when the device could not be reopened
// after programming and is no longer held.
bool run_actions(hid_device*& device, const std::string& path) {
  if (prog_arguments.reset_diag) run_diag_action(device, "Resetting Tolvane Diagnostics... ", reset_diag, false);
  qdx_dumpInfo(device);
  if (prog_arguments.stop) {
    run_diag_action(device, "Stopping Tolvane... ", stop, false);
    qdx_dumpInfo(device);
  }
  if (!prog_arguments.in_file.empty()) {
    // The writer opens the device itself, and opens are exclusive.
    hid_close(device);
    qdx_programDevice(path, prog_arguments.in_file);
    device = hid_open_path(path.c_str());
    if (!device) {
      console_say("Cannot reopen the device!\n");
      return false;
    }
  }
  if (prog_arguments.start) {
    run_diag_action(device, "Starting Tolvane... ", start, false);
    qdx_dumpInfo(device);
  }
  run_diag_action(device, "Closing diag... ", close_diag, true);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  // Device strings are wide: let them print in the user's character set.
  std::setlocale(LC_CTYPE, "");
  qdx_startTrace();
  getArguments(argc, argv);

  const TDeviceChoice choice = qdx_listDevices(prog_arguments.dev_num);
  if (!choice.anyDevice || choice.listed == 0) {
    console_say("QDX not found!\n");
    hid_exit();
    return 0;
  }
  if (choice.path.empty()) {
    console_say("No QDX with ordinal %d: %d listed.\n", prog_arguments.dev_num, choice.listed);
    hid_exit();
    return 0;
  }

  console_say("Opening device... ");
  hid_device* device = hid_open_path(choice.path.c_str());
  if (!device) {
    console_say("Fail\n");
    hid_exit();
    return 0;
  }
  console_say("OK\n");

  if (prog_arguments.test)
    qdx_runTestLoop(device);
  else if (!run_actions(device, choice.path))
    device = nullptr;
  if (device) hid_close(device);
  hid_exit();
  return 0;
}
