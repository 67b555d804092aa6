#include <sys/ioctl.h>
#include <unistd.h>

#include <windows.h>
#include <cstdio>

namespace {

struct TConsoleStream {
  FILE* (*stream)();
  WORD attributes;  // what was last set, the Windows default at start
};

TConsoleStream standardStreams[3] = {
    {[] { return stdin; }, 7},
    {[] { return stdout; }, 7},
    {[] { return stderr; }, 7},
};

TConsoleStream* terminalStream(HANDLE console) {
  for (auto& entry : standardStreams)
    if (console == &entry) return isatty(fileno(entry.stream())) ? &entry : nullptr;
  return nullptr;
}

// The ANSI colours are numbered blue 4, green 2, red 1; Windows swaps red and blue.
int ansiColour(WORD bits) { return ((bits & 1) << 2) | (bits & 2) | ((bits & 4) >> 2); }

}  // namespace

HANDLE GetStdHandle(DWORD which) {
  switch (which) {
    case STD_INPUT_HANDLE: return &standardStreams[0];
    case STD_OUTPUT_HANDLE: return &standardStreams[1];
    case STD_ERROR_HANDLE: return &standardStreams[2];
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return INVALID_HANDLE_VALUE;
}

BOOL GetConsoleScreenBufferInfo(HANDLE console, PCONSOLE_SCREEN_BUFFER_INFO info) {
  TConsoleStream* terminal = terminalStream(console);
  if (!terminal || !info) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  winsize size{};
  ioctl(fileno(terminal->stream()), TIOCGWINSZ, &size);
  *info = CONSOLE_SCREEN_BUFFER_INFO{};
  info->dwSize = {static_cast<SHORT>(size.ws_col), static_cast<SHORT>(size.ws_row)};
  info->dwMaximumWindowSize = info->dwSize;
  info->srWindow = {0, 0, static_cast<SHORT>(size.ws_col - 1), static_cast<SHORT>(size.ws_row - 1)};
  info->wAttributes = terminal->attributes;
  return TRUE;
}

BOOL SetConsoleTextAttribute(HANDLE console, WORD attributes) {
  TConsoleStream* terminal = terminalStream(console);
  if (!terminal) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  FILE* stream = terminal->stream();
  fflush(stream);
  const WORD foreground = attributes & 0x0F, background = (attributes >> 4) & 0x0F;
  if (foreground == 7 && background == 0) {
    fputs("\033[0m", stream);
  } else {
    fprintf(stream, "\033[0;%d;%dm", (foreground & 8 ? 90 : 30) + ansiColour(foreground),
            (background & 8 ? 100 : 40) + ansiColour(background));
  }
  fflush(stream);
  terminal->attributes = attributes;
  return TRUE;
}
