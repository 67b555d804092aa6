#pragma once
// Window classes, windows, push buttons, the message loop, window messages
// between processes (WM_COPYDATA) and message boxes.
#include "base_types.h"

extern "C" {

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagWNDCLASSEXA {
  UINT cbSize;
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
  HICON hIconSm;
} WNDCLASSEXA;

typedef struct tagCREATESTRUCTA {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCSTR lpszName;
  LPCSTR lpszClass;
  DWORD dwExStyle;
} CREATESTRUCTA, *LPCREATESTRUCTA;

typedef struct tagPOINT {
  LONG x;
  LONG y;
} POINT;

typedef struct tagMSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
} MSG, *LPMSG;

typedef struct tagCOPYDATASTRUCT {
  ULONG_PTR dwData;
  DWORD cbData;
  PVOID lpData;
} COPYDATASTRUCT, *PCOPYDATASTRUCT;

#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_COPYDATA 0x004A
#define WM_COMMAND 0x0111

#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002

#define WS_OVERLAPPED 0x00000000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_TABSTOP 0x00010000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_THICKFRAME 0x00040000L
#define WS_SYSMENU 0x00080000L
#define WS_CAPTION 0x00C00000L
#define WS_VISIBLE 0x10000000L
#define WS_CHILD 0x40000000L
#define WS_OVERLAPPEDWINDOW (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define WS_EX_CLIENTEDGE 0x00000200L

#define CW_USEDEFAULT ((int)0x80000000)

#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_SHOWDEFAULT 10

#define BS_PUSHBUTTON 0x00000000L
#define BN_CLICKED 0

#define MB_OK 0x00000000L
#define MB_ICONWARNING 0x00000030L
#define IDOK 1

#define COLOR_WINDOW 5
#define COLOR_BTNFACE 15

#define IMAGE_ICON 1
#define LR_DEFAULTCOLOR 0x0000
#define LR_DEFAULTSIZE 0x0040
#define LR_SHARED 0x8000
#define IDC_ARROW MAKEINTRESOURCEA(32512)

ATOM RegisterClassExA(const WNDCLASSEXA* windowClass);

// Without a display, or when another process already serves the top-level
// window's class, creation fails with NULL.
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
BOOL DestroyWindow(HWND window);
BOOL ShowWindow(HWND window, int command);
BOOL UpdateWindow(HWND window);
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

BOOL GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
void PostQuitMessage(int exitCode);

// A window of another process is found by its class only; the title is
// matched for this process's own windows. Only WM_COPYDATA reaches a window
// of another process; it waits for the answer as long as that process lives,
// and gives 0 when the process or its window ends before answering.
HWND FindWindowA(LPCSTR className, LPCSTR windowName);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Writes the caption and the text on standard error.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// No images are linked into the program: LoadImageA finds none.
HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height, UINT flags);
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
HBRUSH GetSysColorBrush(int index);

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

}  // extern "C"
