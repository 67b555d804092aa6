#include "wndproc.h"

#include "dispatcher.h"
#include "hooks.h"

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const TSimHooks& hooks = sim_machineHooks;
  switch (message) {
    case WM_CREATE: {
      const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      if (hooks.initControls) hooks.initControls(window, creation ? creation->hInstance : nullptr);
      return 0;
    }
    case WM_COMMAND:
      if (hooks.userInteraction) hooks.userInteraction(reinterpret_cast<HWND>(lParam), LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_DESTROY:
      if (hooks.destroyControls) hooks.destroyControls(window);
      PostQuitMessage(0);
      return 0;
    case WM_COPYDATA: return sim_dispatchRequest(hooks, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}
