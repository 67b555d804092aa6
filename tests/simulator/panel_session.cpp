#include "panel_session.h"

#include <sys/stat.h>

#include <windows.h>
#include <cstdlib>

#include "program_dir.h"
#include "simcopydata.h"

std::string sim_panelProgram() { return testkit::ProgramDir() + "/../bin/simpanel"; }

TPanelSession::TPanelSession(bool withDisplay) : TXSession(withDisplay) {
  mkdir(runtimeDir().c_str(), 0700);
  mkdir(dir().File("home").c_str(), 0700);
  // This process is the client: FindWindowA looks where the panel listens.
  setenv("XDG_RUNTIME_DIR", runtimeDir().c_str(), 1);
}

std::vector<std::string> TPanelSession::panelEnvironment() const {
  return {"XDG_RUNTIME_DIR=" + runtimeDir(), "HOME=" + dir().File("home"),
          "LSAN_OPTIONS=suppressions=" SIM_LSAN_SUPPRESSIONS ":print_suppressions=0"};
}

bool TPanelSession::startPanel(int consoleFd) {
  startProgram({sim_panelProgram()}, panelEnvironment(), consoleFd);
  return sim_waitUntil([&] { return FindWindowA(SIM_WINDOW_CLASS, nullptr) != nullptr || waitForExit(program(), 0); },
                       20000) &&
         FindWindowA(SIM_WINDOW_CLASS, nullptr) != nullptr;
}

pid_t TPanelSession::startSecondPanel(const std::string& outName) {
  return startOther({sim_panelProgram()}, panelEnvironment(), outName + ".out", outName + ".err");
}
