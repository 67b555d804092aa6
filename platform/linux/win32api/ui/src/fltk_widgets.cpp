#include "fltk_widgets.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>

namespace {

const int defaultWidth = 640, defaultHeight = 480;

void onFrameEvent(Fl_Widget*, void* data) {
  // FLTK closes a window on Escape; a Windows window does not.
  if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
  HWND window = static_cast<TW32Window*>(data);
  if (w32_localWindow(window)) SendMessageA(window, WM_CLOSE, 0, 0);
}

void onButtonClick(Fl_Widget*, void* data) {
  auto* button = static_cast<TW32Window*>(data);
  if (!w32_localWindow(button) || !button->parent) return;
  const auto id = static_cast<WORD>(reinterpret_cast<UINT_PTR>(button->menu));
  SendMessageA(button->parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

}  // namespace

Fl_Window* w32_makeFrame(TW32Window& window, int x, int y, int width, int height, HBRUSH background) {
  if (width == CW_USEDEFAULT) width = defaultWidth;
  if (height == CW_USEDEFAULT) height = defaultHeight;
  Fl_Double_Window* frame = x == CW_USEDEFAULT ? new Fl_Double_Window(width, height)
                                               : new Fl_Double_Window(x, y == CW_USEDEFAULT ? 0 : y, width, height);
  frame->copy_label(window.title.c_str());
  // Resizing moves no child, as on Windows: only this empty corner grows.
  auto* corner = new Fl_Box(width - 1, height - 1, 1, 1);
  corner->box(FL_NO_BOX);
  frame->resizable(corner);
  frame->end();
  if (w32_brushSystemColour(background) == COLOR_WINDOW) frame->color(FL_WHITE);
  frame->callback(onFrameEvent, &window);
  return frame;
}

Fl_Button* w32_makeButton(TW32Window& button, TW32Window& parent, int x, int y, int width, int height, DWORD style) {
  auto* widget = new Fl_Button(x, y, width, height);
  widget->copy_label(button.title.c_str());
  widget->callback(onButtonClick, &button);
  if (!(style & WS_TABSTOP)) widget->clear_visible_focus();
  if (!(style & WS_VISIBLE)) widget->hide();
  parent.frame->add(widget);
  return widget;
}
