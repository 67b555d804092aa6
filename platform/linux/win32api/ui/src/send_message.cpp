#include <strings.h>

#include <win32/copydata_client.h>
#include <win32/copydata_socket_path.h>
#include <win32/copydata_wire.h>
#include <windows.h>
#include <cstdint>

#include "window_records.h"

HWND FindWindowA(LPCSTR className, LPCSTR windowName) {
  for (TW32Window* window : w32_topLevelWindows()) {
    if (className && strcasecmp(window->className.c_str(), className) != 0) continue;
    if (windowName && window->title != windowName) continue;
    return window;
  }
  if (!className) return nullptr;
  std::string error;
  const std::string path = w32_copyDataSocketPath(className, false, error);
  if (path.empty() || !w32_copyDataProbe(path)) return nullptr;
  return w32_remoteWindowFor(path);
}

LRESULT SendMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  if (TW32Window* window = w32_localWindow(handle))
    return window->proc ? window->proc(handle, message, wParam, lParam)
                        : DefWindowProcA(handle, message, wParam, lParam);
  TW32RemoteWindow* remote = w32_remoteWindow(handle);
  if (!remote) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (message != WM_COPYDATA) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return 0;
  }
  const auto* request = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  // The command travels as 32 bits, as on 32-bit Windows: a wider one would
  // arrive as another command.
  if (!request || request->dwData > UINT32_MAX) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  // As Windows' SendMessage, it waits as long as the window's process lives:
  // a client that gave up early would take 0 for a request still to be done.
  if (request->cbData > W32_COPYDATA_MAX_DATA) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);  // refused, as the window's process would refuse it
    return 0;
  }
  int32_t answer = 0;
  if (!w32_copyDataSend(remote->path, static_cast<uint32_t>(request->dwData), request->lpData, request->cbData, answer,
                        W32_COPYDATA_NO_TIMEOUT)) {
    SetLastError(ERROR_BROKEN_PIPE);
    return 0;
  }
  return answer;
}
