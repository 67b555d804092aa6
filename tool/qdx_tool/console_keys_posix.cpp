#include "console_keys.h"

#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

namespace {

termios saved_terminal;
volatile sig_atomic_t terminal_changed = 0;
const int ending_signals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
struct sigaction saved_actions[sizeof ending_signals / sizeof ending_signals[0]];

void restore_terminal() {
  if (terminal_changed) {
    ::tcsetattr(STDIN_FILENO, TCSANOW, &saved_terminal);
    terminal_changed = 0;
  }
}

// Gives the terminal back, then lets the signal end the program as it would have.
void on_ending_signal(int signal) {
  restore_terminal();
  struct sigaction plain {};
  plain.sa_handler = SIG_DFL;
  ::sigemptyset(&plain.sa_mask);
  ::sigaction(signal, &plain, nullptr);
  ::raise(signal);
}

}  // namespace

TConsoleKeys::TConsoleKeys() {
  if (!::isatty(STDIN_FILENO) || ::tcgetattr(STDIN_FILENO, &saved_terminal) != 0) return;
  struct sigaction restoring {};
  restoring.sa_handler = on_ending_signal;
  ::sigemptyset(&restoring.sa_mask);
  for (size_t i = 0; i < sizeof ending_signals / sizeof ending_signals[0]; ++i) {
    // A signal the program was started to ignore stays ignored.
    ::sigaction(ending_signals[i], nullptr, &saved_actions[i]);
    if (saved_actions[i].sa_handler != SIG_IGN) ::sigaction(ending_signals[i], &restoring, nullptr);
  }
  termios keys = saved_terminal;
  keys.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  keys.c_cc[VMIN] = 0;
  keys.c_cc[VTIME] = 0;
  terminal_changed = 1;
  ::tcsetattr(STDIN_FILENO, TCSANOW, &keys);
}

TConsoleKeys::~TConsoleKeys() {
  if (!terminal_changed) return;
  restore_terminal();
  for (size_t i = 0; i < sizeof ending_signals / sizeof ending_signals[0]; ++i)
    ::sigaction(ending_signals[i], &saved_actions[i], nullptr);
}

int TConsoleKeys::Waiting() {
  pollfd input{STDIN_FILENO, POLLIN, 0};
  if (::poll(&input, 1, 0) <= 0) return NO_KEY;
  if (input.revents & (POLLERR | POLLNVAL)) return END_OF_INPUT;
  unsigned char key = 0;
  const ssize_t got = ::read(STDIN_FILENO, &key, 1);
  if (got == 1) return key;
  if (got < 0 && (errno == EAGAIN || errno == EINTR)) return NO_KEY;
  // A terminal without a waiting key reads 0; a pipe or a file that reads
  // 0, or a terminal that hung up, has reached its end.
  if (got == 0 && !(input.revents & POLLHUP) && ::isatty(STDIN_FILENO)) return NO_KEY;
  return END_OF_INPUT;
}
