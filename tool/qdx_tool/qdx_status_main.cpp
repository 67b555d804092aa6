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
#include "hid_exclusive.h"
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

// Everything after the open; false when a step failed. The device is null
// afterwards when it could not be reopened after programming.
bool run_actions(hid_device*& device, const std::string& path) {
  bool succeeded = true;
  if (prog_arguments.reset_diag)
    succeeded &= run_diag_action(device, "Resetting Tolvane Diagnostics... ", reset_diag, false);
  succeeded &= qdx_dumpInfo(device);
  if (prog_arguments.stop) {
    succeeded &= run_diag_action(device, "Stopping Tolvane... ", stop, false);
    succeeded &= qdx_dumpInfo(device);
  }
  if (!prog_arguments.in_file.empty()) {
    // The writer opens the device itself, and opens are exclusive.
    hidio_close(device);
    succeeded &= qdx_programDevice(path, prog_arguments.in_file);
    device = hidio_open_exclusive(path.c_str());
    if (!device) {
      console_say("Cannot reopen the device!\n");
      return false;
    }
  }
  if (prog_arguments.start) {
    succeeded &= run_diag_action(device, "Starting Tolvane... ", start, false);
    succeeded &= qdx_dumpInfo(device);
  }
  succeeded &= run_diag_action(device, "Closing diag... ", close_diag, true);
  return succeeded;
}

// The exit status: 0 when every step asked for succeeded, 1 when one did not.
int finish(bool succeeded) {
  hid_exit();
  return succeeded ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  // Device strings are wide: let them print in the user's character set.
  std::setlocale(LC_CTYPE, "");
  qdx_startTrace();
  // argp ends a run with a bad command line itself, with its own status.
  getArguments(argc, argv);

  const TDeviceChoice choice = qdx_listDevices(prog_arguments.dev_num);
  if (!choice.anyDevice || choice.listed == 0) {
    console_say("QDX not found!\n");
    return finish(false);
  }
  if (choice.path.empty()) {
    console_say("No QDX with ordinal %d: %d listed.\n", prog_arguments.dev_num, choice.listed);
    return finish(false);
  }

  console_say("Opening device... ");
  hid_device* device = hidio_open_exclusive(choice.path.c_str());
  if (!device) {
    console_say("Fail\n");
    return finish(false);
  }
  console_say("OK\n");

  bool succeeded = true;
  if (prog_arguments.test)
    qdx_runTestLoop(device);
  else
    succeeded = run_actions(device, choice.path);
  hidio_close(device);
  return finish(succeeded);
}
