#pragma once
// The subset of the Windows API that the simulator panel's sources call,
// declared for builds on systems without it. The numbers are those of the
// Windows ABI, so the same sources behave alike on both.
#include "win32/base_types.h"
#include "win32/file_dialog.h"
#include "win32/system_services.h"
#include "win32/user_interface.h"
