#include <windows.h>
#include <cstdio>

#include "simcopydata.h"
#include "versioninfo.h"
#include "wndproc.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  char version[500];
  GetVersionInfo(instance, version, sizeof(version));
  printf("Halden Virtual Machine %s\n", version);

  WNDCLASSEXA windowClass;
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = WndProc;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = 0;
  windowClass.hInstance = instance;
  windowClass.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(4000), IMAGE_ICON, 32, 32, 0));
  windowClass.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(4000), IMAGE_ICON, 16, 16, 0));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
  windowClass.lpszMenuName = nullptr;
  windowClass.lpszClassName = SIM_WINDOW_CLASS;
  if (!RegisterClassExA(&windowClass)) {
    MessageBoxA(nullptr, "Window Registration Failed!", "Error!", MB_ICONWARNING | MB_OK);
    return 0;
  }

  HWND window =
      CreateWindowExA(WS_EX_CLIENTEDGE, SIM_WINDOW_CLASS, "Halden virtual machine for Tolvane", WS_OVERLAPPEDWINDOW,
                      CW_USEDEFAULT, CW_USEDEFAULT, 400, 200, nullptr, nullptr, instance, nullptr);
  if (!window) {
    MessageBoxA(nullptr, "Window Creation Failed!", "Error!", MB_ICONWARNING | MB_OK);
    return 0;
  }
  ShowWindow(window, showCommand);
  UpdateWindow(window);

  MSG msg{};
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
