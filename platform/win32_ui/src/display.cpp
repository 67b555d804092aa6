#include "display.h"

#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/Xlib.h>

bool w32_openDisplay() {
  if (!fl_display) {
    Display* probe = XOpenDisplay(nullptr);
    if (!probe) return false;
    XCloseDisplay(probe);
    fl_open_display();
  }
  return true;
}
