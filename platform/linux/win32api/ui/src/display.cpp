#include "display.h"

#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/Xlib.h>

bool w32_openDisplay() {
  if (!fl_display) {
    // One connection, handed to FLTK: a probe that disconnected again could
    // make the server reset just as FLTK connects.
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    fl_open_display(display);
  }
  return true;
}
