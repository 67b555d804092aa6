#include <FL/Fl.H>

#include <windows.h>
#include <deque>

#include "window_records.h"

namespace {
std::deque<MSG>& postedMessages() {
  static std::deque<MSG> messages;
  return messages;
}
}  // namespace

BOOL GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
  // Only the form that takes every message of the thread.
  if (!msg || window || filterMin || filterMax) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  for (;;) {
    // Outside every callback: what was destroyed can go now.
    w32_clearGraveyard();
    auto& posted = postedMessages();
    if (!posted.empty()) {
      *msg = posted.front();
      posted.pop_front();
      return msg->message == WM_QUIT ? FALSE : TRUE;
    }
    // Sent messages (button clicks, closing, requests of other processes)
    // reach the window procedure from inside the wait.
    Fl::wait(1e20);
  }
}

BOOL TranslateMessage(const MSG*) { return FALSE; }  // no keyboard messages are posted

LRESULT DispatchMessageA(const MSG* msg) {
  if (!msg) return 0;
  TW32Window* window = w32_localWindow(msg->hwnd);
  return window && window->proc ? window->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam) : 0;
}

void PostQuitMessage(int exitCode) {
  postedMessages().push_back(MSG{nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0, 0, {0, 0}});
}
