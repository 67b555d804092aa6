#pragma once
// The one controller world of the process, served behind its named pipes,
// and what hid.dll's functions need to find a controller by the handle a
// program opened: the stand-in's counterpart of the HID driver.
#include <windows.h>

#include "pipe_server.h"
#include "sim_world.h"

// Holds the stand-in's lock for a scope; the world exists meanwhile.
class TBusLock {
 public:
  TBusLock();
  ~TBusLock();
  TBusLock(const TBusLock&) = delete;
  TBusLock& operator=(const TBusLock&) = delete;

  TSimWorld& World();
  TPipeServer& Server();
};

// The device behind a handle a program opened: a controller's collection,
// or none (controller -1) for any other file, which plays a plain device.
struct TBusDevice {
  int controller = -1;
  unsigned collection = STANDIN_DIAG;
};

// With the lock held.
TBusDevice standin_device_of(TSimWorld& world, HANDLE handle);

// Rebuilds the world from the environment as it is now.
void standin_rebuild();
// At process exit, with every other thread ended.
void standin_end_of_process();
