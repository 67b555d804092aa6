// The host program's file name, bounded by the caller's buffer.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#endif

#include "modulepath.h"

namespace {

std::string runningProgram() {
#if defined(_WIN32)
  char name[MAX_PATH * 4] = {};
  GetModuleFileNameA(nullptr, name, sizeof name);
  return name;
#else
  return std::filesystem::read_symlink("/proc/self/exe").string();
#endif
}

const std::string kProgram = runningProgram();

}  // namespace

TEST(ModulePath, GivesTheRunningProgram) {
  std::vector<char> buffer(4096, '#');
  EXPECT_EQ(plat_moduleFileName(buffer.data(), buffer.size()), kProgram.size());
  EXPECT_EQ(std::string(buffer.data()), kProgram);
}

TEST(ModulePath, RefusesWhatDoesNotFitAndNeverWritesPastTheBuffer) {
  const size_t exact = kProgram.size() + 1;
  struct {
    size_t size;
    size_t result;
  } cases[] = {{exact, kProgram.size()}, {exact - 1, 0}, {5, 0}, {1, 0}};
  for (const auto& c : cases) {
    std::vector<char> buffer(c.size + 8, '#');
    EXPECT_EQ(plat_moduleFileName(buffer.data(), c.size), c.result) << c.size;
    EXPECT_EQ(std::string(buffer.data()), c.result ? kProgram : "") << c.size;
    for (size_t i = c.size; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], '#') << "written at " << i;
  }
  EXPECT_EQ(plat_moduleFileName(nullptr, 100), 0u);
  char untouched = '#';
  EXPECT_EQ(plat_moduleFileName(&untouched, 0), 0u);
  EXPECT_EQ(untouched, '#');
}
