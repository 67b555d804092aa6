#include "window_records.h"

#include <FL/Fl_Button.H>
#include <FL/Fl_Window.H>
#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <map>

namespace {

std::map<HWND, std::unique_ptr<TW32Window>>& liveWindows() {
  static std::map<HWND, std::unique_ptr<TW32Window>> windows;
  return windows;
}

std::vector<std::unique_ptr<TW32Window>>& graveyard() {
  static std::vector<std::unique_ptr<TW32Window>> windows;
  return windows;
}

std::map<std::string, std::unique_ptr<TW32RemoteWindow>>& remoteWindows() {
  static std::map<std::string, std::unique_ptr<TW32RemoteWindow>> windows;
  return windows;
}

std::deque<TW32WindowClass>& windowClasses() {
  static std::deque<TW32WindowClass> classes;
  return classes;
}

}  // namespace

TW32Window::~TW32Window() {
  // Records may go in any order (the registries at the process's end): a
  // frame deletes the buttons in it, whose records must not again.
  for (TW32Window* child : children) {
    child->button = nullptr;
    child->parent = nullptr;
  }
  if (parent) {
    parent->children.erase(std::remove(parent->children.begin(), parent->children.end(), this), parent->children.end());
    if (parent->frame && button) parent->frame->remove(button);
  }
  delete button;
  delete frame;
}

HWND w32_addWindow(std::unique_ptr<TW32Window> window) {
  HWND handle = window.get();
  liveWindows()[handle] = std::move(window);
  return handle;
}

TW32Window* w32_localWindow(HWND handle) {
  auto found = liveWindows().find(handle);
  return found == liveWindows().end() ? nullptr : found->second.get();
}

std::vector<TW32Window*> w32_topLevelWindows() {
  std::vector<TW32Window*> windows;
  for (auto& entry : liveWindows())
    if (!entry.second->parent) windows.push_back(entry.second.get());
  return windows;
}

void w32_retireWindow(TW32Window* window) {
  auto found = liveWindows().find(window);
  if (found == liveWindows().end()) return;
  graveyard().push_back(std::move(found->second));
  liveWindows().erase(found);
}

void w32_clearGraveyard() { graveyard().clear(); }

HWND w32_remoteWindowFor(const std::string& path) {
  auto& windows = remoteWindows();
  auto& window = windows[path];
  if (!window) {
    window = std::make_unique<TW32RemoteWindow>();
    window->path = path;
  }
  return window.get();
}

TW32RemoteWindow* w32_remoteWindow(HWND handle) {
  for (auto& entry : remoteWindows())
    if (entry.second.get() == handle) return entry.second.get();
  return nullptr;
}

const TW32WindowClass* w32_findClass(LPCSTR name) {
  if (!name) return nullptr;
  for (const auto& windowClass : windowClasses())
    if (strcasecmp(windowClass.name.c_str(), name) == 0) return &windowClass;
  return nullptr;
}

bool w32_addClass(const WNDCLASSEXA& definition) {
  windowClasses().push_back({definition.lpszClassName, definition});
  TW32WindowClass& added = windowClasses().back();
  added.definition.lpszClassName = added.name.c_str();
  added.definition.lpszMenuName = nullptr;  // menus are not kept
  return true;
}

void w32_reportFailure(const std::string& what) { fprintf(stderr, "%s\n", what.c_str()); }
