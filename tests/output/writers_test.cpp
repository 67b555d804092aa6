// What all four file writers share: a fresh state in every save, and no
// success reported once any write failed.
#include <gtest/gtest.h>
#if !defined(_WIN32)
#include <signal.h>
#include <sys/resource.h>
#endif

#include <regex>
#include <sstream>
#include <string>

#include "file_io.h"
#include "test_paths.h"
#include "writer_under_test.h"

namespace outtest {
namespace {

#if !defined(_WIN32)
// Lets files of this process grow to `bytes` only; a write beyond fails.
// (Windows has no such limit to make a write fail on cue.)
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &previous_);
    previousHandler_ = signal(SIGXFSZ, SIG_IGN);
    const rlimit limit = {bytes, previous_.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~TFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit previous_{};
  sighandler_t previousHandler_;
};
#endif

// Settings, byte code, a jump to another 64 KiB block, full lines.
const TImage IMAGE = Sequence(0, 20) + Sequence(0xD0, 40, 0x80) + Sequence(0x1FFF8, 24, 0x40);

class FileWriterTest : public ::testing::TestWithParam<std::string> {
 protected:
  TWriterUnderTest writer{GetParam()};
};

TEST_P(FileWriterTest, EverySaveStartsAfresh) {
  const std::string fresh = writer.Save(IMAGE);
  ASSERT_EQ(writer.Save(IMAGE), fresh);
  // Images that leave a writer in another state: beyond every section, the
  // stored upper address half back at 0, the next address where IMAGE starts.
  const TImage others[] = {
      Bytes(0, {1}) + Bytes(0xD0, {2}) + Bytes(0x10000000, {3}) + Bytes(0x30, {4}),
      Bytes(0xFFFFFFFF, {1}),
      Sequence(0x5000, 300),
  };
  for (const TImage& other : others) {
    ASSERT_NE(writer.Save(other).rfind("SaveAs failed", 0), 0u);
    EXPECT_EQ(writer.Save(IMAGE), fresh);
  }
}

#if !defined(_WIN32)
TEST_P(FileWriterTest, FailedWriteAnywhereFailsTheSave) {
  const std::string whole = writer.Save(IMAGE);
  const std::string path = writer.Dir().File("limited");
  for (size_t cut : {size_t{0}, size_t{1}, whole.size() / 2, whole.size() - 1}) {
    SCOPED_TRACE(cut);
    bool saved;
    {
      TFileSizeLimit limit(cut);
      saved = writer.Plugin().saveAs(path.c_str());
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(writer.Plugin().LastError(), "Couldn't write to '" + path + "'.");
    // What was written before the failure stays.
    EXPECT_EQ(testkit::ReadFile(path), whole.substr(0, cut));
  }
  TFileSizeLimit limit(whole.size());
  EXPECT_TRUE(writer.Plugin().saveAs(path.c_str())) << writer.Plugin().LastError();
}
#endif

INSTANTIATE_TEST_SUITE_P(EveryFileWriter, FileWriterTest, ::testing::ValuesIn(FileWriterKeys()),
                         [](const auto& info) { return info.param; });

// The data items of every line matched by `line`, whose first group is the list.
std::vector<uint8_t> DataItems(const std::string& text, const std::regex& line) {
  std::vector<uint8_t> data;
  const std::regex item(" 0x([0-9A-F]{2})");
  for (std::sregex_iterator l(text.begin(), text.end(), line), end; l != end; ++l) {
    const std::string items = (*l)[1];
    for (std::sregex_iterator i(items.begin(), items.end(), item); i != end; ++i)
      data.push_back(static_cast<uint8_t>(std::stoul((*i)[1], nullptr, 16)));
  }
  return data;
}

TEST(DEWriter, RandomGappedImageReachesTheFileWhole) {
  TWriterUnderTest writer("de");
  const TImage image = RandomGappedImage(7, 0xFFF00, 200);
  const std::string text = writer.Save(image);
  // Read back: each org starts a run, each DE line goes on from there.
  TImage read;
  uint32_t address = 0;
  std::istringstream lines(text);
  const std::regex org("\torg 0x([0-9A-F]+)"), de("\tDE((?: 0x[0-9A-F]{2},){0,15} 0x[0-9A-F]{2})");
  std::smatch match;
  for (std::string line; std::getline(lines, line);) {
    if (std::regex_match(line, match, org)) {
      address = static_cast<uint32_t>(std::stoul(match[1], nullptr, 16));
    } else if (std::regex_match(line, match, de)) {
      for (uint8_t data : DataItems(line, de)) read.push_back({address++, data});
    } else {
      EXPECT_EQ(line, "") << "not an org, DE or empty line";
    }
  }
  EXPECT_EQ(read, image);
}

TEST(AsmWriter, RandomGappedByteCodeReachesTheFileWhole) {
  TWriterUnderTest writer("s");
  const TImage image = Sequence(0, 208) + RandomGappedImage(11, 0xD0, 200);
  const std::string text = writer.Save(image);
  EXPECT_EQ(text.find(";"), std::string::npos) << "nothing is out of range";
  std::vector<uint8_t> data;
  for (const TImageByte& byte : image) data.push_back(byte.data);
  EXPECT_EQ(DataItems(text, std::regex("\t\\.byte ((?: 0x[0-9A-F]{2},){0,15} 0x[0-9A-F]{2})\n")), data);
}

}  // namespace
}  // namespace outtest
