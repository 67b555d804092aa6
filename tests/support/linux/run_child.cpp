#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <initializer_list>

extern char** environ;

namespace testkit {

namespace {

std::vector<char*> CStrings(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

void CloseAll(std::initializer_list<int> fds) {
  for (int fd : fds) close(fd);
}

}  // namespace

std::vector<std::string> CurrentEnvironment() {
  std::vector<std::string> entries;
  for (char** entry = environ; *entry != nullptr; ++entry) entries.emplace_back(*entry);
  return entries;
}

TChildRun RunChild(const TChildRequest& request) {
  std::vector<std::string> argvTexts{request.program};
  argvTexts.insert(argvTexts.end(), request.args.begin(), request.args.end());
  std::vector<std::string> envTexts = request.environment;
  std::vector<char*> argv = CStrings(argvTexts);
  std::vector<char*> envp = CStrings(envTexts);

  TChildRun run;
  int in[2], out[2], err[2];
  if (pipe2(in, O_CLOEXEC) != 0) return run;
  if (pipe2(out, O_CLOEXEC) != 0) {
    CloseAll({in[0], in[1]});
    return run;
  }
  if (pipe2(err, O_CLOEXEC) != 0) {
    CloseAll({in[0], in[1], out[0], out[1]});
    return run;
  }
  // The input is in the pipe before the child starts: a program that looks
  // for waiting input without blocking sees all of it from its first look.
  // It is small: it fits the pipe, so writing it cannot block.
  if (!request.input.empty()) (void)!write(in[1], request.input.data(), request.input.size());
  const pid_t child = fork();
  if (child == 0) {
    dup2(in[0], STDIN_FILENO);
    dup2(out[1], STDOUT_FILENO);
    dup2(err[1], STDERR_FILENO);
    execvpe(request.program.c_str(), argv.data(), envp.data());
    _exit(127);
  }
  CloseAll({in[0], out[1], err[1]});
  if (child < 0) {
    CloseAll({in[1], out[0], err[0]});
    return run;
  }
  close(in[1]);

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(request.timeoutMs);
  pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
  std::string* sinks[2] = {&run.out, &run.err};
  int openPipes = 2;
  while (openPipes > 0) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      run.timedOut = true;
      kill(child, SIGKILL);
      break;
    }
    if (poll(fds, 2, static_cast<int>(left.count())) < 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      char buffer[4096];
      const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
      if (got > 0) {
        sinks[i]->append(buffer, static_cast<size_t>(got));
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --openPipes;
      }
    }
  }
  for (pollfd& fd : fds)
    if (fd.fd >= 0) close(fd.fd);
  int status = 0;
  waitpid(child, &status, 0);
  if (!run.timedOut && WIFEXITED(status)) run.status = WEXITSTATUS(status);
  return run;
}

}  // namespace testkit
