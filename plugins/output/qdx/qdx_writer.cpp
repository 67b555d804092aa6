// libwr_qdx: SaveAs programs the image into a QDX controller: stop, erase,
// load the blocks, verify and start, and always leave diagnostic mode once
// connected. The device is opened and closed within the one call.
#include <hidapi.h>

#include <exception>
#include <memory>
#include <string>

#include "bound_routines.h"
#include "console_say.h"
#include "error_text.h"
#include "hid_exclusive.h"
#include "qdx_destination.h"
#include "qdx_load_blocks.h"
#include "qdxdiagnostics.h"
#include "save_body.h"

namespace {

const char* const CANNOT_CONNECT = "Unable to connect to Tolvane!";

bool Failed(const char* error) {
  console_say("Fail\n");
  outplug_SetError("%s", error);
  return false;
}

// Stop, erase, load, verify and start; the first refusal ends the run.
bool Program(TQDXDiagIf& diag) {
  console_say("Stopping QDX ... ");
  if (!diag.SetDiagMode(DIAG_MODE_STOP)) return Failed("ERROR: QDX cannot be stopped!");
  console_say("OK\nErasing code ... ");
  if (!diag.SetDiagMode(DIAG_MODE_ERASE)) return Failed("ERROR: QDX erase fail!");
  console_say("OK\nLoading program ... ");
  if (!qdx_LoadImage(diag, outplug_Routines())) return Failed("ERROR: QDX load code fail!");
  console_say(" OK\nVerifying and starting ... ");
  if (!diag.SetDiagMode(DIAG_MODE_START)) return Failed("ERROR: QDX code verify fail!");
  console_say("OK\n");
  return true;
}

bool ProgramConnected(hid_device* dev) {
  console_say("Connected to Tolvane.\n");
  auto diag = std::make_unique<TQDXDiagIf>(dev);
  const bool programmed = Program(*diag);
  console_say("Closing diag... ");
  console_say(diag->SetDiagMode(DIAG_MODE_CLOSE) ? "OK\n" : "Fail\n");
  return programmed;
}

bool CannotConnect() {
  console_say("%s\n", CANNOT_CONNECT);
  outplug_SetError("%s", CANNOT_CONNECT);
  return false;
}

}  // namespace

// Nothing may be thrown across SaveAs: running out of memory fails the save.
bool outplug_SaveBody(const char* fileName) {
  std::string path;
  try {
    path = qdx_DevicePathOf(fileName);
  } catch (const std::exception&) {
    return CannotConnect();
  }
  hid_device* dev = path.empty() ? nullptr : hidio_open_exclusive(path.c_str());
  if (dev == nullptr) return CannotConnect();
  bool programmed = false;
  try {
    programmed = ProgramConnected(dev);
  } catch (const std::exception&) {
    outplug_SetError("%s", CANNOT_CONNECT);
  }
  hidio_close(dev);
  return programmed;
}
