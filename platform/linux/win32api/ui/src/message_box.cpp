#include <windows.h>
#include <cstdio>

int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT) {
  fprintf(stderr, "%s: %s\n", caption ? caption : "Error", text ? text : "");
  fflush(stderr);
  return IDOK;
}
