// qdx_analyzer as a user runs it: its output and exit status.
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

namespace {

struct TRun {
  std::string output;
  int status;
};

// Runs the analyzer of the build tree with `arguments`, capturing its
// standard output.
TRun runAnalyzer(const std::vector<std::string>& arguments) {
  const std::string program = tests_ProgramDir() + "/../bin/qdx_analyzer";
  std::vector<char*> argv = {const_cast<char*>(program.c_str())};
  for (const auto& argument : arguments)
    argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  int pipeEnds[2];
  if (pipe(pipeEnds) != 0)
    return {"pipe failed", -1};
  const pid_t child = fork();
  if (child == 0) {
    dup2(pipeEnds[1], STDOUT_FILENO);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(pipeEnds[1]);
  TRun run{"", -1};
  char buffer[4096];
  for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
    run.output.append(buffer, static_cast<size_t>(got));
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::string fixture(const std::string& name) {
  std::ifstream in(std::string(TOLVANE_ANALYZER_FIXTURES) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string opening(const std::string& path) {
  return "Opening file: '" + path + "'\n";
}

const char* const usage = "Usage: qdx_analyzer <input file.s19>\n";

TEST(AnalyzerArguments, WrongCountPrintsUsageAndExits1) {
  for (const auto& arguments : std::vector<std::vector<std::string>>{{}, {"a.s19", "b.s19"}}) {
    const TRun run = runAnalyzer(arguments);
    EXPECT_EQ(run.output, usage);
    EXPECT_EQ(run.status, 1);
  }
}

TEST(AnalyzerListing, FixtureImage) {
  const std::string path = std::string(TOLVANE_ANALYZER_FIXTURES) + "/settings.s19";
  const TRun run = runAnalyzer({path});
  EXPECT_EQ(run.output, opening(path) + fixture("settings.listing"));
  EXPECT_EQ(run.status, 0);
}

struct TImageCase {
  const char* name;
  std::string content;
  // The expected output after the "Opening file" line.
  std::string output;
};

void PrintTo(const TImageCase& row, std::ostream* out) {
  *out << row.name;
}

std::string zeroListingWithFirstLine(const std::string& line) {
  const std::string zero = fixture("zero.listing");
  return line + zero.substr(zero.find('\n'));
}

std::vector<TImageCase> imageCases() {
  return {
      {"MissingBytesReadAsZero", "S1050000640096\n", zeroListingWithFirstLine("cycletime_msec = 100 (0x0064)")},
      {"CodeOnlyImage", "S10400D0012A\n", fixture("zero.listing")},
      // 0xCF is captured but not printed; 0xD0 and above are passed over.
      {"BytesFrom207OnAreNotListed", "S10500CFAABBC6\nS1040100CC2E\nS30700010000DDEE2C\n", fixture("zero.listing")},
      {"LoadErrorBadChecksum", "S1050000640097\n", "File load error!\n"},
      {"LoadErrorRepeatedAddress", "S1040000AA51\nS1040000BB40\n", "File load error!\n"},
      {"LoadErrorNotSRecords", ":02001000AABB89\n", "File load error!\n"},
      {"LoadErrorEmptyFile", "", "File load error!\n"},
      {"NoData", "S9030000FC\n", "File data count = 0\n"},
  };
}

class AnalyzerImages : public testing::TestWithParam<TImageCase> {};

TEST_P(AnalyzerImages, PrintAndExit0) {
  TTempDir dir;
  const std::string path = dir.Write("image.s19", GetParam().content);
  const TRun run = runAnalyzer({path});
  EXPECT_EQ(run.output, opening(path) + GetParam().output);
  EXPECT_EQ(run.status, 0);
}

INSTANTIATE_TEST_SUITE_P(Images, AnalyzerImages, testing::ValuesIn(imageCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AnalyzerFiles, MissingFileIsALoadError) {
  TTempDir dir;
  const std::string path = dir.Path() + "/missing.s19";
  const TRun run = runAnalyzer({path});
  EXPECT_EQ(run.output, opening(path) + "File load error!\n");
  EXPECT_EQ(run.status, 0);
}

}  // namespace
