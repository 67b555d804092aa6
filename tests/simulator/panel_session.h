#pragma once
// One simulator panel on an X display of its own (Xvfb on a free display
// number), with its own runtime folder (so its socket meets no other
// panel's) and its own home. Everything it starts is ended when it goes,
// and dies with the test process should that end first.
#include <sys/types.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "temp_dir.h"
#include "test_support.h"

class TPanelSession {
 public:
  explicit TPanelSession(bool withDisplay = true);
  ~TPanelSession();
  TPanelSession(const TPanelSession&) = delete;
  TPanelSession& operator=(const TPanelSession&) = delete;

  bool hasDisplay() const { return !display_.empty(); }
  const testkit::TTempDir& dir() const { return dir_; }
  std::string socketPath() const { return runtimeDir() + "/Tolvane simulator"; }
  std::string runtimeDir() const { return dir_.File("run"); }

  // Starts the panel in the session's folder; true once its window answers.
  bool startPanel();
  pid_t startSecondPanel(const std::string& outName);
  std::optional<int> waitForExit(pid_t pid, int timeoutMs);
  std::optional<int> waitForExit(int timeoutMs) { return waitForExit(panel_, timeoutMs); }
  // Ends the panel as a crash would, leaving its socket file behind.
  void killPanel();

  std::string output() const { return dir_.Read("out.txt"); }
  std::string errors() const { return dir_.Read("err.txt"); }
  // True once `part` stands `count` times in the panel's output.
  bool waitForOutput(const std::string& part, size_t count = 1, int timeoutMs = 20000) const;

  // A tool on the session's display; its standard output, "" on failure.
  std::string runTool(const std::vector<std::string>& argv, int timeoutMs = 20000) const;
  // The shown X window of that exact title, "" when none comes up in time.
  std::string findWindow(const std::string& title, int timeoutMs = 20000) const;
  bool windowGone(const std::string& title, int timeoutMs = 20000) const;
  void click(const std::string& window, int x, int y) const;
  void typeInto(const std::string& window, const std::string& text) const;
  void pressKey(const std::string& window, const std::string& key) const;
  // What a window manager does when the user closes the window.
  void closeWindow(const std::string& window) const;
  bool screenshot(const std::string& window, const std::string& artifactName) const;

 private:
  pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env, const std::string& out,
              const std::string& err, int keepFd = -1) const;
  void startXvfb(int number);
  std::vector<std::string> panelEnvironment() const;
  void end(pid_t& pid);

  testkit::TTempDir dir_;
  std::string display_;
  pid_t xvfb_ = -1;
  pid_t panel_ = -1;
  std::vector<pid_t> others_;
  std::map<pid_t, int> exitCodes_;
};

std::string sim_panelProgram();
std::string sim_artifactDir();
