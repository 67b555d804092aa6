#pragma once
// One simulator panel of the Linux build on an X display of its own, with
// its own runtime folder (so its socket meets no other panel's) and its own
// home.
#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "test_support.h"
#include "x_session.h"

class TPanelSession : public TXSession {
 public:
  explicit TPanelSession(bool withDisplay = true);

  std::string socketPath() const { return runtimeDir() + "/Tolvane simulator"; }
  std::string runtimeDir() const { return dir().File("run"); }

  // Starts the panel in the session's folder, its console on `consoleFd`
  // when one is given; true once its window answers.
  bool startPanel(int consoleFd = -1);
  pid_t startSecondPanel(const std::string& outName);
  // Ends the panel as a crash would, leaving its socket file behind.
  void killPanel() { killProgram(); }

 private:
  std::vector<std::string> panelEnvironment() const;
};

std::string sim_panelProgram();
