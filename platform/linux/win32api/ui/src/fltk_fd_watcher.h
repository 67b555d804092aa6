#pragma once
// The file descriptor watcher of FLTK's event loop.
#include <win32/fd_watcher.h>

TW32FdWatcher& w32_fltkFdWatcher();
