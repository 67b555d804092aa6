#include "display.h"

#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/Xlib.h>
#include <errno.h>
#include <unistd.h>

#include <cstdio>

#include "window_records.h"

namespace {

// The display is gone (its server ended, or the program's connection was
// killed): Xlib would end the process with its objects half torn down. The
// sockets of its windows go first, so that no client waits on them; then the
// process ends at once with a failure.
int onDisplayLost(Display* display) {
  for (TW32Window* window : w32_topLevelWindows())
    if (window->server) window->server->close();
  fflush(stdout);
  fprintf(stderr, "%s: lost the connection to the display %s\n", program_invocation_short_name,
          display ? DisplayString(display) : "");
  fflush(stderr);
  _exit(1);
}

}  // namespace

bool w32_openDisplay() {
  if (!fl_display) {
    // One connection, handed to FLTK: a probe that disconnected again could
    // make the server reset just as FLTK connects.
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    fl_open_display(display);
    XSetIOErrorHandler(onDisplayLost);  // in place of FLTK's own
  }
  return true;
}
