#include <signal.h>

#include <windows.h>
#include <string>

// The program starts in WinMain, as on Windows, with the command line
// without the program name.
int main(int argc, char** argv) {
  // Windows knows no SIGPIPE: what a program writes to a console or pipe
  // that nobody reads any more is dropped, and the program goes on.
  signal(SIGPIPE, SIG_IGN);
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine += ' ';
    commandLine += argv[i];
  }
  return WinMain(GetModuleHandleA(nullptr), nullptr, &commandLine[0], SW_SHOWDEFAULT);
}
