#include "x_session.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

#include "child_process.h"
#include "program_dir.h"
#include "test_support.h"

bool sim_waitUntil(const std::function<bool()>& done, int timeoutMs) {
  using TClock = std::chrono::steady_clock;
  const auto deadline = TClock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (TClock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

std::string sim_artifactDir() {
  const std::string dir = testkit::ProgramDir() + "/artifacts";
  mkdir(dir.c_str(), 0755);
  return dir;
}

TXSession::TXSession(bool withDisplay) {
  if (!withDisplay) return;
  // A random display number rather than the lowest free one: a display that
  // another test has just ended may still be tearing down its sockets.
  std::random_device seed;
  std::uniform_int_distribution<int> numbers(1000, 30000);
  for (int attempt = 0; attempt < 10 && display_.empty(); ++attempt) startXvfb(numbers(seed));
}

void TXSession::startXvfb(int number) {
  int ready[2];
  if (pipe(ready) != 0) return;
  xvfb_ = spawn({"Xvfb", ":" + std::to_string(number), "-displayfd", std::to_string(ready[1]), "-screen", "0",
                 "800x600x24", "-nolisten", "tcp", "-noreset"},
                {}, dir_.File("xvfb.txt"), dir_.File("xvfb.txt"), ready[1]);
  close(ready[1]);
  std::string reported;
  pollfd entry{ready[0], POLLIN, 0};
  char c;
  while (poll(&entry, 1, 20000) > 0 && read(ready[0], &c, 1) == 1 && c != '\n') reported += c;
  close(ready[0]);
  if (reported == std::to_string(number))
    display_ = ":" + reported;
  else
    end(xvfb_);  // that number was taken
}

TXSession::~TXSession() {
  for (pid_t& pid : others_) end(pid);
  end(program_);
  end(xvfb_);
}

void TXSession::end(pid_t& pid) {
  if (pid <= 0) return;
  if (!waitForExit(pid, 0)) {
    kill(pid, SIGTERM);
    if (!waitForExit(pid, 5000)) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }
  pid = -1;
}

pid_t TXSession::spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                       const std::string& out, const std::string& err, int keepFd, int stdoutFd) const {
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid != 0) return pid;
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != parent) _exit(127);
  for (const std::string& setting : env) {
    const size_t equals = setting.find('=');
    if (equals == std::string::npos)
      unsetenv(setting.c_str());
    else
      setenv(setting.substr(0, equals).c_str(), setting.substr(equals + 1).c_str(), 1);
  }
  const int outFd = stdoutFd >= 0 ? stdoutFd : open(out.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
  const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
  const int nullFd = open("/dev/null", O_RDONLY);
  dup2(nullFd, STDIN_FILENO);
  dup2(outFd, STDOUT_FILENO);
  dup2(errFd, STDERR_FILENO);
  for (int fd = 3; fd < 1024; ++fd)
    if (fd != keepFd) close(fd);
  if (chdir(dir_.Path().c_str()) != 0) _exit(127);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}

void TXSession::startProgram(const std::vector<std::string>& argv, const std::vector<std::string>& env, int stdoutFd) {
  std::vector<std::string> all = env;
  all.push_back(hasDisplay() ? "DISPLAY=" + display_ : "DISPLAY");
  program_ = spawn(argv, all, dir_.File("out.txt"), dir_.File("err.txt"), -1, stdoutFd);
}

pid_t TXSession::startOther(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                            const std::string& out, const std::string& err) {
  std::vector<std::string> all = env;
  all.push_back("DISPLAY=" + display_);
  const pid_t pid = spawn(argv, all, dir_.File(out), dir_.File(err));
  others_.push_back(pid);
  return pid;
}

std::optional<int> TXSession::runToEnd(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                                       const std::string& log, int timeoutMs) {
  std::vector<std::string> all = env;
  all.push_back("DISPLAY=" + display_);
  pid_t pid = spawn(argv, all, dir_.File(log), dir_.File(log));
  const std::optional<int> code = waitForExit(pid, timeoutMs);
  if (!code) end(pid);
  return code;
}

std::optional<int> TXSession::waitForExit(pid_t pid, int timeoutMs) {
  if (pid <= 0) return std::nullopt;
  sim_waitUntil(
      [&] {
        if (exitCodes_.count(pid)) return true;
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) != pid) return false;
        exitCodes_[pid] = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return true;
      },
      timeoutMs);
  auto found = exitCodes_.find(pid);
  return found == exitCodes_.end() ? std::nullopt : std::optional<int>(found->second);
}

void TXSession::killProgram() {
  kill(program_, SIGKILL);
  waitForExit(program_, 20000);
}

void TXSession::signalProgram(int signal) {
  if (program_ > 0) kill(program_, signal);
}

bool TXSession::waitForOutput(const std::string& part, size_t count, int timeoutMs) const {
  return sim_waitUntil([&] { return countOf(output(), part) >= count; }, timeoutMs);
}

std::string TXSession::runTool(const std::vector<std::string>& argv, int timeoutMs,
                               const std::vector<std::string>& environment) const {
  testkit::TChildRequest request;
  request.program = argv.at(0);
  request.args.assign(argv.begin() + 1, argv.end());
  std::vector<std::string> added = environment;
  added.push_back("DISPLAY=" + display_);
  std::vector<std::string> replaced;
  for (const std::string& setting : added) replaced.push_back(setting.substr(0, setting.find('=') + 1));
  request.environment = testkit::ChildEnvironment(replaced, added);
  request.timeoutMs = timeoutMs;
  const testkit::TChildRun run = testkit::RunChild(request);
  return run.status == 0 ? run.out : "";
}

std::string TXSession::findWindow(const std::string& title, int timeoutMs) const {
  std::string id;
  sim_waitUntil(
      [&] {
        id = runTool({"xdotool", "search", "--onlyvisible", "--name", "^" + title + "$"}, 5000);
        id = id.substr(0, id.find('\n'));
        return !id.empty();
      },
      timeoutMs);
  return id;
}

bool TXSession::windowGone(const std::string& title, int timeoutMs) const {
  return sim_waitUntil(
      [&] {
        return runTool({"xdotool", "search", "--onlyvisible", "--name", "^" + title + "$"}, 5000).empty();
      },
      timeoutMs);
}

void TXSession::click(const std::string& window, int x, int y) const {
  runTool({"xdotool", "mousemove", "--window", window, std::to_string(x), std::to_string(y), "click", "1"});
}

void TXSession::typeInto(const std::string& window, const std::string& text) const {
  runTool({"xdotool", "windowfocus", "--sync", window});
  runTool({"xdotool", "type", "--delay", "20", text});
}

void TXSession::pressKey(const std::string& window, const std::string& key) const {
  runTool({"xdotool", "windowfocus", "--sync", window});
  runTool({"xdotool", "key", key});
}

void TXSession::closeWindow(const std::string& window) const {
  Display* connection = XOpenDisplay(display_.c_str());
  if (!connection) return;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = std::stoul(window);
  event.xclient.message_type = XInternAtom(connection, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(connection, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(connection, event.xclient.window, False, NoEventMask, &event);
  XCloseDisplay(connection);
}

bool TXSession::screenshot(const std::string& window, const std::string& artifactName) const {
  const std::string file = (artifactDir_.empty() ? sim_artifactDir() : artifactDir_) + "/" + artifactName;
  runTool({"import", "-window", window, file});
  struct stat status {};
  return stat(file.c_str(), &status) == 0 && status.st_size > 0;
}
