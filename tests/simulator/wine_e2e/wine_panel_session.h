#pragma once
// One simulator panel of the Windows build under wine, on an X display of
// its own and in a wine prefix of its own, so that no other test's window
// answers its client's FindWindowA and cases can run side by side. The
// prefix shares the Windows tree's booted drive C: and copies only its
// registry. Every wine process of the session ends with it.
//
// The Windows build tree is named by the environment variable
// SIM_WINDOWS_TREE: its bin/simpanel.exe, tests/simpanel_client.exe, wine
// wrapper and prefix are used, and screenshots go to its tests/artifacts/.
// WINELOADER and WINESERVER name the tree's wine (32-bit or 64-bit).
#include <string>
#include <vector>

#include "x_session.h"

class TWinePanelSession : public TXSession {
 public:
  TWinePanelSession();
  ~TWinePanelSession() override;

  // Starts simpanel.exe in the session's folder; true once the client finds
  // its window.
  bool startPanel();
  // Why the session's wine prefix could not be made, "" when it was.
  const std::string& problem() const { return problem_; }
  // Why the tree's programs cannot run on this machine at all, "" when they can.
  const std::string& notRun() const { return notRun_; }
  // Runs the test client with these steps; its lines, one a step, or fewer
  // when it failed.
  std::vector<std::string> client(const std::vector<std::string>& steps) const;
  // Posts WM_CLOSE to the panel, as closing the window does.
  bool closePanel() const;

  // The panel's console text as written, each line ended with CR LF.
  std::string rawOutput() const { return TXSession::output(); }
  // The same with LF line ends, as the tests of either platform compare it.
  std::string output() const override;

 private:
  bool runnableHere();
  bool makePrefix();
  bool fail(const std::string& why);
  std::vector<std::string> wineEnvironment() const;
  std::string clientExe() const;

  std::string tree_;
  std::string loader_;
  std::string server_;
  std::string prefix_;
  std::string notRun_;
  std::string problem_ = "no display";
};
