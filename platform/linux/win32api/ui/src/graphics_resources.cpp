#include <windows.h>

#include "window_records.h"

struct HICON__ {
  int id;
};

struct HBRUSH__ {
  int systemColour;
};

namespace {
const int systemColours = 31;
HBRUSH__ systemBrushes[systemColours];
HICON__ arrowCursor{32512};
}  // namespace

HANDLE LoadImageA(HINSTANCE, LPCSTR, UINT, int, int, UINT) {
  SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return nullptr;
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
  if (!instance && name == IDC_ARROW) return &arrowCursor;
  SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return nullptr;
}

HBRUSH GetSysColorBrush(int index) {
  if (index < 0 || index >= systemColours) return nullptr;
  systemBrushes[index].systemColour = index;
  return &systemBrushes[index];
}

int w32_brushSystemColour(HBRUSH brush) {
  for (int i = 0; i < systemColours; ++i)
    if (brush == &systemBrushes[i]) return i;
  // The classic form: the colour number plus one, cast to a brush.
  const auto number = reinterpret_cast<UINT_PTR>(brush);
  return number >= 1 && number <= systemColours ? static_cast<int>(number - 1) : -1;
}
