#pragma once
// Keys pressed on the console, read as they come, without waiting for a
// line. On Linux, while an object lives, a terminal on standard input is in
// non-canonical mode without echo and with reads that do not wait; its
// settings are restored when the object goes and when a signal ends the
// program. On Windows the console's keys come through _kbhit and _getch.
// Standard input from a pipe or a file gives its bytes as keys.
class TConsoleKeys {
 public:
  static constexpr int NO_KEY = -1;
  static constexpr int END_OF_INPUT = -2;  // standard input closed: no key will ever come

  TConsoleKeys();
  ~TConsoleKeys();
  TConsoleKeys(const TConsoleKeys&) = delete;
  TConsoleKeys& operator=(const TConsoleKeys&) = delete;

  // The character of a waiting key, NO_KEY or END_OF_INPUT.
  int Waiting();
};
