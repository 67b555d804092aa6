#include "tool_windows_fixture.h"

#include <windows.h>

#include "console_child.h"
#include "file_io.h"
#include "windows_path.h"

namespace {

constexpr size_t FLASH_SIZE = 128 * 1024;

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

}  // namespace

void TWindowsToolTest::SetUp() {
  for (const char* file : {QDXTEST_TOOL, QDXTEST_TOOL_TRACE, QDXTEST_RD_S19, QDXTEST_WR_QDX, QDXTEST_STANDIN_HID,
                           QDXTEST_STANDIN_CFGMGR32}) {
    const std::string from = testkit::WindowsPath(file);
    ASSERT_TRUE(CopyFileA(from.c_str(), File(BaseName(from)).c_str(), FALSE)) << from;
  }
  // The example host compiles its ladder program and writes the image
  // through the S-record writer; -o gives the same bytes raw.
  testkit::TChildRequest compile;
  compile.program = testkit::WindowsPath(QDXTEST_PLCCOMP_EXAMPLE);
  compile.args = {"-o", File("image.bin"), "-p", testkit::WindowsPath(QDXTEST_WR_S19), File("image.s19")};
  const testkit::TChildRun compiled = testkit::RunChild(compile);
  ASSERT_EQ(compiled.status, 0) << compiled.out << compiled.err;
  image = testkit::ReadBytes(File("image.bin"));
  ASSERT_GT(image.size(), 208u);
}

testkit::TChildRun TWindowsToolTest::Run(const std::vector<std::string>& args, const TToolEnv& env,
                                         const std::string& input, const std::string& tool, bool onConsole) {
  std::vector<std::string> added = {"QDXSIM_RECORD=" + File("record.txt"), "QDXSIM_FLASH_OUT=" + File("flash.bin")};
  for (const auto& item : env) added.push_back(item.first + "=" + item.second);
  testkit::TChildRequest request;
  request.program = File(tool);
  request.args = args;
  request.environment = testkit::ChildEnvironment({"QDXSIM_"}, added);
  request.input = input;
  const ULONGLONG t0 = GetTickCount64();
  testkit::TChildRun run = onConsole ? testkit::RunChildOnConsole(request) : testkit::RunChild(request);
  lastRunMs = GetTickCount64() - t0;
  EXPECT_FALSE(run.timedOut) << run.out;
  EXPECT_EQ(run.err, "");
  return run;
}

void TWindowsToolTest::ExpectFlashHoldsTheImage() const {
  const std::vector<uint8_t> flash = testkit::ReadBytes(File("flash.bin"));
  ASSERT_EQ(flash.size(), FLASH_SIZE);
  EXPECT_EQ(std::vector<uint8_t>(flash.begin(), flash.begin() + image.size()), image);
  EXPECT_EQ(std::vector<uint8_t>(flash.begin() + image.size(), flash.end()),
            std::vector<uint8_t>(FLASH_SIZE - image.size(), 0xFF));
}
