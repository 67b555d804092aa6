#pragma once
// The FLTK widgets that show a window: a frame for a top-level window and a
// push button inside it. Their callbacks turn FLTK's events into messages.
#include "window_records.h"

Fl_Window* w32_makeFrame(TW32Window& window, int x, int y, int width, int height, HBRUSH background);
Fl_Button* w32_makeButton(TW32Window& button, TW32Window& parent, int x, int y, int width, int height, DWORD style);
