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
  request.env.emplace_back("QDXSIM_DEVICE_DIR", folder.File(STANDIN_DEVICE_FOLDER));
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
  return standin_fields(Record(), event, field);
}
