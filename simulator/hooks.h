#pragma once
// The operations through which the window procedure reaches the simulated
// machine. Each is optional: a machine leaves out what it does not provide,
// and the window procedure answers as if nothing were done.
#include <windows.h>

#include "simcopydata.h"

struct TSimHooks {
  void (*initControls)(HWND window, HINSTANCE instance);
  void (*userInteraction)(HWND control, unsigned short id, unsigned short code);
  void (*destroyControls)(HWND window);
  void (*setMode)(tSIM_SETMODE_WPARAM mode, short value, const char* name);
  void (*startCycle)(short value, const char* name);
  void (*endCycle)(bool flag);
  void (*simulationEntered)(short value, const char* name);
  bool (*setBit)(const char* name, bool value);
  bool (*getBit)(const char* name, bool* out);
  bool (*setInt)(const char* name, short value);
  bool (*getInt)(const char* name, short* out);
  bool (*readADC)(const char* name, short* out, short value);
  bool (*setPWM)(const char* name, short value, int value2);
};

// Provided by the machine module the program is linked with.
extern const TSimHooks sim_machineHooks;
