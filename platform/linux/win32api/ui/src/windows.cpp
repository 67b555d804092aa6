#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Window.H>
#include <strings.h>

#include <win32/copydata_socket_path.h>
#include <windows.h>
#include <algorithm>
#include <cstdint>

#include "display.h"
#include "fltk_fd_watcher.h"
#include "fltk_widgets.h"
#include "window_records.h"

namespace {

HWND createButton(LPCSTR text, DWORD style, int x, int y, int width, int height, HWND parentHandle, HMENU id,
                  HINSTANCE instance) {
  TW32Window* parent = w32_localWindow(parentHandle);
  if (!parent || !parent->frame) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  auto button = std::make_unique<TW32Window>();
  button->className = "Button";
  button->title = text ? text : "";
  button->instance = instance;
  button->menu = id;
  button->parent = parent;
  button->button = w32_makeButton(*button, *parent, x, y, width, height, style);
  parent->children.push_back(button.get());
  return w32_addWindow(std::move(button));
}

// Requests of other processes reach the window procedure as WM_COPYDATA
// over their whole record.
std::unique_ptr<TW32CopyDataServer> openServer(TW32Window& window) {
  std::string error;
  const std::string path = w32_copyDataSocketPath(window.className.c_str(), true, error);
  std::unique_ptr<TW32CopyDataServer> server;
  if (!path.empty()) {
    server = TW32CopyDataServer::open(
        path, w32_fltkFdWatcher(),
        [&window](uint32_t dwData, std::vector<unsigned char>& data) {
          COPYDATASTRUCT request{dwData, static_cast<DWORD>(data.size()), data.empty() ? nullptr : data.data()};
          return static_cast<int32_t>(window.proc(&window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&request)));
        },
        error);
  }
  if (!server) w32_reportFailure(window.className + ": " + error);
  return server;
}

}  // namespace

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  if (!className) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (style & WS_CHILD) {
    if (strcasecmp(className, "Button") == 0)
      return createButton(windowName, style, x, y, width, height, parent, menu, instance);
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);  // buttons are the only children there are
    return nullptr;
  }
  const TW32WindowClass* windowClass = w32_findClass(className);
  if (!windowClass) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  // The display first: without one nothing is made, no socket either.
  if (!w32_openDisplay()) {
    w32_reportFailure(std::string(className) + ": cannot open the display");
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  auto owned = std::make_unique<TW32Window>();
  TW32Window& window = *owned;
  window.className = windowClass->name;
  window.title = windowName ? windowName : "";
  window.proc = windowClass->definition.lpfnWndProc;
  window.instance = instance;
  window.menu = menu;
  window.server = openServer(window);
  if (!window.server) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  window.frame = w32_makeFrame(window, x, y, width, height, windowClass->definition.hbrBackground);
  HWND handle = w32_addWindow(std::move(owned));

  CREATESTRUCTA creation{param,      instance,  menu,   parent, height, width, y, x, static_cast<LONG>(style),
                         windowName, className, exStyle};
  if (window.proc(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&creation)) == -1) {
    DestroyWindow(handle);
    return nullptr;
  }
  if (style & WS_VISIBLE) window.frame->show();
  return handle;
}

BOOL DestroyWindow(HWND handle) {
  TW32Window* window = w32_localWindow(handle);
  if (!window) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (window->destroying) return TRUE;
  window->destroying = true;
  if (window->frame) window->frame->hide();
  if (window->proc) window->proc(handle, WM_DESTROY, 0, 0);
  for (TW32Window* child : window->children) {
    child->button = nullptr;  // goes with this frame
    child->parent = nullptr;
    w32_retireWindow(child);
  }
  window->children.clear();
  if (TW32Window* parent = window->parent) {
    if (parent->frame && window->button) parent->frame->remove(window->button);
    parent->children.erase(std::remove(parent->children.begin(), parent->children.end(), window),
                           parent->children.end());
  }
  if (window->server) window->server->close();
  w32_retireWindow(window);
  return TRUE;
}

BOOL ShowWindow(HWND handle, int command) {
  TW32Window* window = w32_localWindow(handle);
  if (!window) return FALSE;
  Fl_Widget* widget = window->frame ? static_cast<Fl_Widget*>(window->frame) : window->button;
  const BOOL wasVisible = widget && widget->visible();
  if (!widget) return wasVisible;
  if (command == SW_HIDE) {
    widget->hide();
  } else {
    widget->show();
    if (window->frame && (command == SW_SHOWMINIMIZED || command == SW_MINIMIZE)) window->frame->iconize();
  }
  return wasVisible;
}

BOOL UpdateWindow(HWND handle) {
  if (!w32_localWindow(handle)) return FALSE;
  Fl::flush();
  return TRUE;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM) {
  if (message == WM_CLOSE) DestroyWindow(window);
  return 0;
}
