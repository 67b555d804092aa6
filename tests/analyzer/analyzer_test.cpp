// qdx_analyzer as a user runs it: its output and exit status.
#include <gtest/gtest.h>

#include "child_process.h"
#include "file_io.h"
#include "temp_dir.h"

namespace {

using testkit::TChildRun;
using testkit::TTempDir;

// Runs the analyzer of the build tree with `arguments`.
TChildRun runAnalyzer(const std::vector<std::string>& arguments) {
  testkit::TChildRequest request;
  request.program = TOLVANE_ANALYZER;
  request.args = arguments;
  return testkit::RunChild(request);
}

std::string fixture(const std::string& name) {
  return testkit::ReadFile(std::string(TOLVANE_ANALYZER_FIXTURES) + "/" + name);
}

std::string opening(const std::string& path) { return "Opening file: '" + path + "'\n"; }

const char* const usage = "Usage: qdx_analyzer <input file.s19>\n";

TEST(AnalyzerArguments, WrongCountPrintsUsageAndExits1) {
  for (const auto& arguments : std::vector<std::vector<std::string>>{{}, {"a.s19", "b.s19"}}) {
    const TChildRun run = runAnalyzer(arguments);
    EXPECT_EQ(run.out, usage);
    EXPECT_EQ(run.status, 1);
  }
}

TEST(AnalyzerListing, FixtureImage) {
  const std::string path = std::string(TOLVANE_ANALYZER_FIXTURES) + "/settings.s19";
  const TChildRun run = runAnalyzer({path});
  EXPECT_EQ(run.out, opening(path) + fixture("settings.listing"));
  EXPECT_EQ(run.status, 0);
}

struct TImageCase {
  const char* name;
  std::string content;
  // The expected output after the "Opening file" line.
  std::string output;
  int status;
};

void PrintTo(const TImageCase& row, std::ostream* out) { *out << row.name; }

std::string zeroListingWithFirstLine(const std::string& line) {
  const std::string zero = fixture("zero.listing");
  return line + zero.substr(zero.find('\n'));
}

std::vector<TImageCase> imageCases() {
  return {
      {"MissingBytesReadAsZero", "S1050000640096\n", zeroListingWithFirstLine("cycletime_msec = 100 (0x0064)"), 0},
      {"CodeOnlyImage", "S10400D0012A\n", fixture("zero.listing"), 0},
      // 0xCF is captured but not printed; 0xD0 and above are passed over.
      {"BytesFrom207OnAreNotListed", "S10500CFAABBC6\nS1040100CC2E\nS30700010000DDEE2C\n", fixture("zero.listing"), 0},
      // A file that cannot be loaded is a failure a script must see.
      {"LoadErrorBadChecksum", "S1050000640097\n", "File load error!\n", 1},
      {"LoadErrorRepeatedAddress", "S1040000AA51\nS1040000BB40\n", "File load error!\n", 1},
      {"LoadErrorNotSRecords", ":02001000AABB89\n", "File load error!\n", 1},
      {"LoadErrorEmptyFile", "", "File load error!\n", 1},
      {"NoData", "S9030000FC\n", "File data count = 0\n", 0},
  };
}

class AnalyzerImages : public testing::TestWithParam<TImageCase> {};

TEST_P(AnalyzerImages, PrintAndExitWithTheirStatus) {
  TTempDir dir;
  const std::string path = dir.Write("image.s19", GetParam().content);
  const TChildRun run = runAnalyzer({path});
  EXPECT_EQ(run.out, opening(path) + GetParam().output);
  EXPECT_EQ(run.status, GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(Images, AnalyzerImages, testing::ValuesIn(imageCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AnalyzerFiles, MissingFileIsALoadError) {
  TTempDir dir;
  const std::string path = dir.File("missing.s19");
  const TChildRun run = runAnalyzer({path});
  EXPECT_EQ(run.out, opening(path) + "File load error!\n");
  EXPECT_EQ(run.status, 1);
}

}  // namespace
