#include <conio.h>
#include <windows.h>

#include "console_keys.h"

namespace {

HANDLE input() { return GetStdHandle(STD_INPUT_HANDLE); }

bool is_console(HANDLE handle) {
  DWORD mode = 0;
  return GetConsoleMode(handle, &mode) != 0;
}

// Standard input from a pipe or a file: a byte is a key; its end ends the keys.
int redirected_key(HANDLE handle) {
  DWORD available = 0;
  if (GetFileType(handle) == FILE_TYPE_PIPE) {
    if (!PeekNamedPipe(handle, nullptr, 0, nullptr, &available, nullptr)) return TConsoleKeys::END_OF_INPUT;
    if (available == 0) return TConsoleKeys::NO_KEY;
  }
  unsigned char key = 0;
  DWORD got = 0;
  if (!ReadFile(handle, &key, 1, &got, nullptr) || got == 0) return TConsoleKeys::END_OF_INPUT;
  return key;
}

}  // namespace

// The console needs no setting up: _kbhit and _getch read its keys as they come.
TConsoleKeys::TConsoleKeys() {}

TConsoleKeys::~TConsoleKeys() {}

int TConsoleKeys::Waiting() {
  const HANDLE handle = input();
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return END_OF_INPUT;
  if (!is_console(handle)) return redirected_key(handle);
  return _kbhit() ? _getch() : NO_KEY;
}
