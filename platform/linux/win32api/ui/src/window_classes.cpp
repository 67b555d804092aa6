#include <windows.h>

#include "window_records.h"

ATOM RegisterClassExA(const WNDCLASSEXA* windowClass) {
  if (!windowClass || windowClass->cbSize != sizeof(WNDCLASSEXA) || !windowClass->lpfnWndProc ||
      !windowClass->lpszClassName || !*windowClass->lpszClassName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (w32_findClass(windowClass->lpszClassName)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  static ATOM nextAtom = 0xC000;  // where Windows numbers the registered classes
  w32_addClass(*windowClass);
  return nextAtom++;
}
