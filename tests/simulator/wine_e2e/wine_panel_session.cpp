#include "wine_panel_session.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <system_error>

#include "child_process.h"

namespace fs = std::filesystem;

namespace {

// Booting a prefix (the tree's first, with its files, or a session's
// services and desktop) takes seconds; a bound well above that.
const int bootTimeoutMs = 120000;

}  // namespace

TWinePanelSession::TWinePanelSession() {
  const char* tree = getenv("SIM_WINDOWS_TREE");
  tree_ = tree ? tree : "";
  if (tree_.empty()) {
    problem_ = "SIM_WINDOWS_TREE names no Windows build tree";
    return;
  }
  // The tree's wine: its loader and server (32-bit or 64-bit, as the tree).
  const char* loader = getenv("WINELOADER");
  const char* server = getenv("WINESERVER");
  loader_ = loader ? loader : "";
  server_ = server ? server : "";
  if (loader_.empty() || server_.empty()) {
    problem_ = "WINELOADER and WINESERVER name no wine for the tree";
    return;
  }
  if (!runnableHere()) return;
  artifactDir_ = tree_ + "/tests/artifacts";
  mkdir(artifactDir_.c_str(), 0755);
  if (hasDisplay() && makePrefix()) problem_.clear();
}

bool TWinePanelSession::runnableHere() {
  testkit::TChildRequest check;
  check.program = tree_ + "/wine/run";
  check.args = {"--can-run"};
  const testkit::TChildRun run = testkit::RunChild(check);
  if (run.status == 0) return true;
  notRun_ = run.out.empty() ? "the tree's wine cannot run here" : run.out;
  problem_ = notRun_;
  return false;
}

TWinePanelSession::~TWinePanelSession() {
  if (prefix_.empty()) return;
  // Ends every process of the prefix: the panel, wine's desktop and services.
  testkit::TChildRequest request;
  request.program = server_;
  request.args = {"-k"};
  request.environment = testkit::ChildEnvironment({"WINEPREFIX="}, {"WINEPREFIX=" + prefix_});
  request.timeoutMs = 20000;
  testkit::RunChild(request);
}

bool TWinePanelSession::makePrefix() {
  // The build tree's own prefix, booted once (under its lock) by its wrapper.
  testkit::TChildRequest boot;
  boot.program = tree_ + "/wine/run";
  boot.args = {"cmd", "/c", "exit"};
  boot.timeoutMs = bootTimeoutMs;
  if (testkit::RunChild(boot).status != 0) return fail("the build tree's wine prefix did not boot");
  // A tree booted by an older wrapper may have its registry only in its
  // running server still, which writes it within its save period (30 s).
  const fs::path from = tree_ + "/wineprefix";
  if (!sim_waitUntil([&] { return fs::exists(from / "userdef.reg"); }, 60000))
    return fail("no registry in " + from.string());

  prefix_ = dir().File("wineprefix");
  const fs::path to = prefix_;
  std::error_code error;
  fs::create_directories(to / "dosdevices", error);
  for (const char* file : {"system.reg", "user.reg", "userdef.reg", ".update-timestamp"})
    if (!error) fs::copy_file(from / file, to / file, error);
  if (!error) fs::create_directory_symlink(from / "drive_c", to / "dosdevices" / "c:", error);
  if (!error) fs::create_directory_symlink("/", to / "dosdevices" / "z:", error);
  if (error) return fail("cannot make " + prefix_ + ": " + error.message());

  // The server, then the desktop on the session's display, with their
  // output in a file of the folder: the panel's own output stays its own.
  const std::vector<std::string> env = wineEnvironment();
  if (runToEnd({server_, "-p30"}, env, "wine-boot.txt", bootTimeoutMs) != 0)
    return fail("the prefix's server did not start: " + dir().Read("wine-boot.txt"));
  if (!runToEnd({loader_, clientExe(), "wait", "0"}, env, "wine-boot.txt", bootTimeoutMs))
    return fail("the prefix's desktop did not start: " + dir().Read("wine-boot.txt"));
  return true;
}

bool TWinePanelSession::fail(const std::string& why) {
  problem_ = why;
  return false;
}

std::string TWinePanelSession::clientExe() const { return tree_ + "/tests/simpanel_client.exe"; }

std::vector<std::string> TWinePanelSession::wineEnvironment() const {
  return {"WINEPREFIX=" + prefix_, "WINEDEBUG=-all", "WINEDLLOVERRIDES=mscoree,mshtml="};
}

bool TWinePanelSession::startPanel() {
  if (!problem_.empty()) return false;
  startProgram({loader_, tree_ + "/bin/simpanel.exe"}, wineEnvironment());
  return client({"wait", "20000"}) == std::vector<std::string>{"found"};
}

std::string TWinePanelSession::output() const {
  std::string text = rawOutput();
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) text.erase(at, 1);
  return text;
}

std::vector<std::string> TWinePanelSession::client(const std::vector<std::string>& steps) const {
  std::vector<std::string> argv = {loader_, clientExe()};
  argv.insert(argv.end(), steps.begin(), steps.end());
  std::istringstream out(runTool(argv, 30000, wineEnvironment()));
  std::vector<std::string> lines;
  for (std::string line; std::getline(out, line);) lines.push_back(line.substr(0, line.find('\r')));
  return lines;
}

bool TWinePanelSession::closePanel() const { return client({"close"}) == std::vector<std::string>{"1"}; }
