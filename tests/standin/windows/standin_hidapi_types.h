#pragma once
// The types of hid.dll's and cfgmgr32.dll's functions as hidapi's Windows
// backend declares them (its own headers, from the same source package), so
// the stand-ins and the backend agree on every argument.
#include <devpropdef.h>
#include <ntdef.h>
#include <windows.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-variable"
#include "hidapi_cfgmgr32.h"
#include "hidapi_hidsdi.h"
#pragma GCC diagnostic pop
