#include <fcntl.h>
#include <unistd.h>

#include <stdexcept>

#include "stdout_redirect.h"

namespace testkit {

int RedirectStdout(const std::string& path) {
  const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (file < 0) throw std::runtime_error("cannot open the file that takes standard output");
  const int saved = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
  if (saved < 0 || dup2(file, STDOUT_FILENO) < 0) {
    close(file);
    if (saved >= 0) close(saved);
    throw std::runtime_error("cannot redirect standard output");
  }
  close(file);
  return saved;
}

void RestoreStdout(int saved) {
  dup2(saved, STDOUT_FILENO);
  close(saved);
}

}  // namespace testkit
