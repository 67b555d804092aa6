#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <stdexcept>

#include "stdout_redirect.h"

namespace testkit {

namespace {
constexpr int stdout_fd = 1;
}

int RedirectStdout(const std::string& path) {
  const int file =
      _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
  if (file < 0) throw std::runtime_error("cannot open the file that takes standard output");
  const int saved = _dup(stdout_fd);
  if (saved < 0 || _dup2(file, stdout_fd) < 0) {
    _close(file);
    if (saved >= 0) _close(saved);
    throw std::runtime_error("cannot redirect standard output");
  }
  _close(file);
  return saved;
}

void RestoreStdout(int saved) {
  _dup2(saved, stdout_fd);
  _close(saved);
}

}  // namespace testkit
