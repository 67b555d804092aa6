#pragma once
// The objects behind window handles, and the registries that tell live
// handles from stale ones.
#include <win32/copydata_server.h>
#include <windows.h>
#include <memory>
#include <string>
#include <vector>

class Fl_Button;
class Fl_Window;

struct HWND__ {
  virtual ~HWND__() = default;
};

// A window of this process: a top-level frame or a push button inside one.
struct TW32Window : HWND__ {
  ~TW32Window() override;
  std::string className;
  std::string title;
  WNDPROC proc = nullptr;  // none for buttons
  HINSTANCE instance = nullptr;
  HMENU menu = nullptr;  // a child's id
  TW32Window* parent = nullptr;
  std::vector<TW32Window*> children;
  Fl_Window* frame = nullptr;
  Fl_Button* button = nullptr;  // owned by the parent's frame while it has one
  std::unique_ptr<TW32CopyDataServer> server;
  bool destroying = false;
};

// A window of another process, reached through its socket.
struct TW32RemoteWindow : HWND__ {
  std::string path;
};

HWND w32_addWindow(std::unique_ptr<TW32Window> window);
TW32Window* w32_localWindow(HWND handle);
std::vector<TW32Window*> w32_topLevelWindows();

// The handle stops being valid at once; the object lives on until
// w32_clearGraveyard, so that code still running on its behalf (a callback,
// the window procedure that destroyed it) does not lose it.
void w32_retireWindow(TW32Window* window);
void w32_clearGraveyard();

HWND w32_remoteWindowFor(const std::string& path);
TW32RemoteWindow* w32_remoteWindow(HWND handle);

struct TW32WindowClass {
  std::string name;
  WNDCLASSEXA definition;
};
const TW32WindowClass* w32_findClass(LPCSTR name);
bool w32_addClass(const WNDCLASSEXA& definition);

// Which system colour a brush stands for, or -1.
int w32_brushSystemColour(HBRUSH brush);

void w32_reportFailure(const std::string& what);
