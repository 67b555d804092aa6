#pragma once
#include <windows.h>

#include "hooks.h"

// The answer to one WM_COPYDATA request. A record shorter than
// tSIM_COPYDATA, or whose name has no zero byte within its field, is
// refused with 0, as is everything that does nothing.
LRESULT sim_dispatchRequest(const TSimHooks& hooks, const COPYDATASTRUCT* request);
