#include "tool_fixture.h"

#include <filesystem>

namespace fs = std::filesystem;

testkit::TChildRun TToolTest::Run(const std::vector<std::string>& args, const TToolEnv& env, const std::string& input,
                                  const std::string& program) {
  TRunRequest request;
  request.program = program;
  request.args = args;
  request.env = env;
  request.env.emplace_back("QDXSIM_RECORD", folder.File("record.txt"));
  request.env.emplace_back("QDXSIM_FLASH_OUT", folder.File("flash.bin"));
  request.input = input;
  testkit::TChildRun run = tooltest_run(request);
  EXPECT_FALSE(run.timedOut) << run.out;
  EXPECT_EQ(run.err, "");
  return run;
}

std::string TToolTest::InstallTree(const std::vector<std::pair<std::string, std::string>>& libraries,
                                   const std::string& program) {
  const fs::path tree = folder.File("tree");
  fs::create_directories(tree / "bin");
  fs::create_directories(tree / "lib");
  const fs::path tool = tree / "bin" / fs::path(program).filename();
  fs::copy_file(program, tool, fs::copy_options::overwrite_existing);
  for (const auto& library : libraries)
    fs::copy_file(library.first, tree / "lib" / library.second, fs::copy_options::overwrite_existing);
  return tool.string();
}

std::vector<std::string> TToolTest::Events(const std::string& event, size_t field) const {
  std::vector<std::string> values;
  for (const TRecordLine& line : standin_events(Record(), event)) values.push_back(line.fields.at(field));
  return values;
}

namespace tooltest {

const char* const OPENED = "Opening device... OK\n";
const char* const CLOSED = "Closing diag... OK\n";

std::string Listed(const std::string& serial, bool selected) {
  return "  Manufacturer:  Tolvane\n"
         "  Product:       QDX controller stand-in\n"
         "  Release:       1102\n"
         "  serial_number: " +
         serial + "\n" + (selected ? " *** Selected Tolvane instance.\n" : "") + "\n\n";
}

namespace {

const char* truth(bool value) { return value ? "TRUE" : "FALSE"; }

std::string strings(const TStatus& s) {
  return "  FW build date: " + s.buildDate + "\n  FW verification signature: " + s.signature + "\n";
}

}  // namespace

std::string Dump(const TStatus& s) {
  std::string text = strings(s) + "Entering diag mode... OK\nReading diag response... OK\nTolvane information:\n";
  text += std::string("  Is running?              ") + truth(s.running) + "\n";
  if (!s.running) text += "    Stop reason:             " + s.stopReason + "\n";
  text += std::string("  Is shipped ladder?       ") + truth(s.shipped) + "\n";
  text += std::string("  Is USB send pending?     ") + truth(s.sendPending) + "\n";
  text += std::string("  Is cycle timing error?   ") + truth(s.timingError) + "\n";
  text += "  Set cycle:               " + std::to_string(s.setCycle) + "\n";
  text += "  Max cycle:               " + std::to_string(s.maxCycle) + "\n";
  text += "  Avg cycle:               " + std::to_string(s.avgCycle) + "\n";
  text += "  Abolute min. cycle:      " + std::to_string(s.absMinCycle) + "\n";
  return text;
}

std::string DumpWithoutDiagMode(const TStatus& s) { return strings(s) + "Entering diag mode... Fail\n"; }

}  // namespace tooltest
