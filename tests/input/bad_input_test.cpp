// Arbitrary bytes never crash a reader nor make it read past a buffer, and
// whatever it answers, what it serves keeps the contract.
#include "input_plugin.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "file_io.h"

using namespace std::string_literals;

namespace {

const char* const formats[] = {"s19", "ihex"};

// After a successful load the walk is strictly ascending; every walk ends.
void expectServedImageKeepsTheContract(const TInputPlugin& plugin, bool loaded) {
  const auto image = plugin.Walk();
  for (size_t i = 1; loaded && i < image.size(); ++i) ASSERT_LT(image[i - 1].address, image[i].address) << "at " << i;
  EXPECT_FALSE(plugin.GetNextByte());
}

std::string randomBytes(size_t size, unsigned seed, const std::string& alphabet = "") {
  std::mt19937 random(seed);
  std::string text(size, '\0');
  for (auto& c : text) c = alphabet.empty() ? static_cast<char>(random()) : alphabet[random() % alphabet.size()];
  return text;
}

struct TBadFile {
  const char* name;
  std::string content;
};

void PrintTo(const TBadFile& row, std::ostream* out) { *out << row.name; }

const TBadFile badFiles[] = {
    {"NulBytes", std::string(5000, '\0')},
    {"NulInsideRecords", "S1050010\0ABB85\n:0200\00010AABB89\n"s},
    {"BinaryGarbage", randomBytes(4096, 1)},
    {"HexDigitsWithoutLineEnd", randomBytes(30000, 2, "0123456789ABCDEF")},
    {"RecordCharactersWithoutLineEnd", randomBytes(30000, 3, "S:0123456789ABCDEF\r")},
    {"RecordCharactersWithLineEnds", randomBytes(30000, 4, "S:0123456789ABCDEF\r\n")},
    {"LineEndsOnly", std::string(20000, '\n')},
    {"CarriageReturnsOnly", std::string(20000, '\r')},
    {"EightBitCharacters", randomBytes(3000, 5, "\x80\xff\xfe:S0")},
    {"LargestCounts", "S1FF0010AABB85\n:FF001000AABB89\n"},
    {"SignsAndBlanksInFields", "S1 5-010+ABB85\n:-2 0+10 0AABB89\n"},
};

// The format as a string, so that the case prints its name and not a pointer.
class BadInput : public testing::TestWithParam<std::tuple<std::string, TBadFile>> {};

TEST_P(BadInput, IsRefusedOrServedSafely) {
  const auto& [format, row] = GetParam();
  TInputPlugin plugin(format);
  expectServedImageKeepsTheContract(plugin, plugin.LoadText(row.content));
}

INSTANTIATE_TEST_SUITE_P(Files, BadInput,
                         testing::Combine(testing::Values("s19"s, "ihex"s), testing::ValuesIn(badFiles)),
                         [](const auto& info) { return std::get<0>(info.param) + "_" + std::get<1>(info.param).name; });

// Valid files with random damage: a small, repeatable fuzz run.
class DamagedFiles : public testing::TestWithParam<const char*> {};

TEST_P(DamagedFiles, AreRefusedOrServedSafely) {
  const std::string format = GetParam();
  const std::string valid = format == "s19"
                                ? "S00600004844521B\nS1050010AABB85\nS206010000FFEE0B\nS307FFFFFFFF1122C9\nS9030000FC\n"
                                : ":020000040001F9\n:0100000055AA\n:020000021000EC\n:02001000AABB89\n:00000001FF\n";
  TInputPlugin plugin(format);
  std::mt19937 random(7);
  for (int run = 0; run < 1000; ++run) {
    std::string damaged = valid;
    for (int edits = 1 + random() % 4; edits > 0; --edits) {
      const size_t at = random() % damaged.size();
      switch (random() % 3) {
        case 0: damaged[at] = static_cast<char>(random()); break;
        case 1: damaged.erase(at, 1 + random() % 8); break;
        default: damaged.insert(at, 1 + random() % 8, static_cast<char>(random())); break;
      }
      if (damaged.empty()) damaged = "S";
    }
    SCOPED_TRACE(testing::PrintToString(damaged));
    expectServedImageKeepsTheContract(plugin, plugin.LoadText(damaged));
    if (HasFatalFailure()) return;
  }
}

INSTANTIATE_TEST_SUITE_P(Plugins, DamagedFiles, testing::ValuesIn(formats),
                         [](const auto& info) { return std::string(info.param); });

// Inputs that once made a fuzz target fail stay here as cases of their own.
class FuzzRegression : public testing::TestWithParam<const char*> {};

TEST_P(FuzzRegression, CasesAreServedSafely) {
  // The folder of the source tree this program was built from.
  const std::filesystem::path folder = std::filesystem::path(TOLVANE_FUZZ_REGRESSION_DIR) / GetParam();
  ASSERT_TRUE(std::filesystem::is_directory(folder)) << "no regression folder " << folder;
  TInputPlugin plugin(GetParam());
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    SCOPED_TRACE(entry.path().string());
    expectServedImageKeepsTheContract(plugin, plugin.LoadText(testkit::ReadFile(entry.path().string())));
  }
}

INSTANTIATE_TEST_SUITE_P(Plugins, FuzzRegression, testing::ValuesIn(formats),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
