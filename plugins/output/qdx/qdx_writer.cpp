// libwr_qdx: SaveAs programs the image into a QDX controller: stop, erase,
// load the blocks, verify and start, and always leave diagnostic mode once
// connected. The device is opened and closed within the one call.
#include <hidapi.h>

#include <memory>
#include <new>
#include <string>

#include "bound_routines.h"
#include "error_text.h"
#include "qdx_console.h"
#include "qdx_destination.h"
#include "qdx_load_blocks.h"
#include "qdxdiagnostics.h"
#include "save_body.h"

namespace {

const char* const CANNOT_CONNECT = "Unable to connect to Tolvane!";

bool Failed(const char* error) {
  qdx_Say("Fail\n");
  outplug_SetError("%s", error);
  return false;
}

// Stop, erase, load, verify and start; the first refusal ends the run.
bool Program(TQDXDiagIf& diag) {
  qdx_Say("Stopping QDX ... ");
  if (!diag.SetDiagMode(DIAG_MODE_STOP)) return Failed("ERROR: QDX cannot be stopped!");
  qdx_Say("OK\nErasing code ... ");
  if (!diag.SetDiagMode(DIAG_MODE_ERASE)) return Failed("ERROR: QDX erase fail!");
  qdx_Say("OK\nLoading program ... ");
  if (!qdx_LoadImage(diag, outplug_Routines())) return Failed("ERROR: QDX load code fail!");
  qdx_Say(" OK\nVerifying and starting ... ");
  if (!diag.SetDiagMode(DIAG_MODE_START)) return Failed("ERROR: QDX code verify fail!");
  qdx_Say("OK\n");
  return true;
}

bool ProgramConnected(hid_device* dev) {
  qdx_Say("Connected to Tolvane.\n");
  auto diag = std::make_unique<TQDXDiagIf>(dev);
  const bool programmed = Program(*diag);
  qdx_Say("Closing diag... ");
  qdx_Say(diag->SetDiagMode(DIAG_MODE_CLOSE) ? "OK\n" : "Fail\n");
  return programmed;
}

bool CannotConnect() {
  qdx_Say("%s\n", CANNOT_CONNECT);
  outplug_SetError("%s", CANNOT_CONNECT);
  return false;
}

}  // namespace

bool outplug_SaveBody(const char* fileName) {
  std::string path;
  try {
    path = qdx_DevicePathOf(fileName);
  } catch (const std::bad_alloc&) {
    return CannotConnect();
  }
  hid_device* dev = path.empty() ? nullptr : hid_open_path(path.c_str());
  if (dev == nullptr) return CannotConnect();
  bool programmed = false;
  try {
    programmed = ProgramConnected(dev);
  } catch (const std::bad_alloc&) {
    outplug_SetError("%s", CANNOT_CONNECT);
  }
  hid_close(dev);
  return programmed;
}
