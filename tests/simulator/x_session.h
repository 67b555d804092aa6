#pragma once
// A windowed program under test on an X display of its own (Xvfb on a free
// display number), started in a folder of its own with its output kept in
// files there, and the X tools a test drives it with. Everything the session
// starts is ended when it goes, and dies with the test process should that
// end first. Every wait is bounded.
#include <sys/types.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "temp_dir.h"

// True once `done` holds; false when `timeoutMs` passed first.
bool sim_waitUntil(const std::function<bool()>& done, int timeoutMs);

// Where tests keep what a person may want to look at afterwards
// (screenshots): artifacts/ beside the test program.
std::string sim_artifactDir();

class TXSession {
 public:
  explicit TXSession(bool withDisplay = true);
  virtual ~TXSession();
  TXSession(const TXSession&) = delete;
  TXSession& operator=(const TXSession&) = delete;

  bool hasDisplay() const { return !display_.empty(); }
  const std::string& display() const { return display_; }
  const testkit::TTempDir& dir() const { return dir_; }

  // The program under test: its exit code, once it has ended.
  std::optional<int> waitForExit(int timeoutMs) { return waitForExit(program_, timeoutMs); }
  std::optional<int> waitForExit(pid_t pid, int timeoutMs);
  // Ends the program as a crash would.
  void killProgram();
  // Sends the program under test a signal (SIGSTOP, SIGCONT).
  void signalProgram(int signal);
  // Ends the X server, as when the user's session ends under the program.
  void endDisplay() { end(xvfb_); }

  // What the program wrote on its standard output and error.
  virtual std::string output() const { return dir_.Read("out.txt"); }
  std::string errors() const { return dir_.Read("err.txt"); }
  // True once `part` stands `count` times in the program's output.
  bool waitForOutput(const std::string& part, size_t count = 1, int timeoutMs = 20000) const;

  // A tool on the session's display; its standard output, "" on failure.
  std::string runTool(const std::vector<std::string>& argv, int timeoutMs = 20000,
                      const std::vector<std::string>& environment = {}) const;
  // The shown X window of that exact title, "" when none comes up in time.
  std::string findWindow(const std::string& title, int timeoutMs = 20000) const;
  bool windowGone(const std::string& title, int timeoutMs = 20000) const;
  void click(const std::string& window, int x, int y) const;
  void typeInto(const std::string& window, const std::string& text) const;
  void pressKey(const std::string& window, const std::string& key) const;
  // What a window manager does when the user closes the window.
  void closeWindow(const std::string& window) const;
  bool screenshot(const std::string& window, const std::string& artifactName) const;

 protected:
  // Starts the program under test with `env` added to the test's
  // environment and the session's display (none without one); its standard
  // output goes to `stdoutFd` when one is given.
  void startProgram(const std::vector<std::string>& argv, const std::vector<std::string>& env, int stdoutFd = -1);
  // Another program in the session's folder; ended with the session.
  pid_t startOther(const std::vector<std::string>& argv, const std::vector<std::string>& env, const std::string& out,
                   const std::string& err);
  // Runs a program in the session's folder to its end, both its streams
  // appended to the folder's file `log` (children it leaves behind may
  // keep them open); its exit code, or nothing when it was ended for taking
  // longer than `timeoutMs`.
  std::optional<int> runToEnd(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                              const std::string& log, int timeoutMs);
  pid_t program() const { return program_; }
  void end(pid_t& pid);

  // Where screenshots go; sim_artifactDir() unless a session says otherwise.
  std::string artifactDir_;

 private:
  pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env, const std::string& out,
              const std::string& err, int keepFd = -1, int stdoutFd = -1) const;
  void startXvfb(int number);

  testkit::TTempDir dir_;
  std::string display_;
  pid_t xvfb_ = -1;
  pid_t program_ = -1;
  std::vector<pid_t> others_;
  std::map<pid_t, int> exitCodes_;
};
