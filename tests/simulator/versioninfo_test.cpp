#include <gtest/gtest.h>

#include <win32/linked_resources.h>
#include <windows.h>
#include <cstring>
#include <string>
#include <vector>

#include "versioninfo.h"

namespace {

// A resource linked for one test and unlinked at its end.
class TLinkedVersion {
 public:
  explicit TLinkedVersion(std::vector<BYTE> data) : data_(std::move(data)) {
    w32_linkResource(RT_VERSION, MAKEINTRESOURCEA(VS_VERSION_INFO), data_.data(), static_cast<DWORD>(data_.size()));
  }
  ~TLinkedVersion() { w32_linkResource(RT_VERSION, MAKEINTRESOURCEA(VS_VERSION_INFO), nullptr, 0); }

 private:
  std::vector<BYTE> data_;
};

std::string versionText(unsigned len = 500) {
  std::vector<char> buffer(len + 1, '#');
  GetVersionInfo(GetModuleHandleA(nullptr), buffer.data(), len);
  EXPECT_EQ(buffer[len], '#') << "nothing written beyond len";
  return std::string(buffer.data(), strnlen(buffer.data(), len));
}

void setLength(std::vector<BYTE>& block, size_t length) {
  block[0] = static_cast<BYTE>(length);
  block[1] = static_cast<BYTE>(length >> 8);
}

}  // namespace

TEST(TVersionInfo, WithoutAResource) { EXPECT_EQ(versionText(), "<no version info>"); }

TEST(TVersionInfo, ReadsTheFileVersionOfTheFixedInformation) {
  TLinkedVersion version(w32_versionResource(1, 0, 5, 6));
  EXPECT_EQ(versionText(), "1.0 release:5 build:6");
  EXPECT_EQ(versionText(8), "1.0 rel") << "bounded to len, the last byte a zero";
  EXPECT_EQ(versionText(1), "");
}

TEST(TVersionInfo, TheLastOfSeveralSignaturesCounts) {
  std::vector<BYTE> block = w32_versionResource(1, 0, 5, 6);
  for (WORD build : {7, 8}) {
    const std::vector<BYTE> more = w32_versionResource(2, 3, 4, build);
    block.insert(block.end(), more.begin(), more.end());
  }
  setLength(block, block.size());
  TLinkedVersion version(block);
  EXPECT_EQ(versionText(), "2.3 release:4 build:8");
}

TEST(TVersionInfo, ScanStaysInsideTheBlockAndTheResource) {
  struct TCase {
    const char* what;
    size_t keep;     // bytes of the resource
    size_t claimed;  // the length its first word claims
    const char* expected;
  };
  const std::vector<BYTE> real = w32_versionResource(1, 0, 5, 6);
  const TCase cases[] = {
      {"claims no more than 4 bytes", real.size(), 4, "<no version info>"},
      {"claims less than the signature's place", real.size(), 43, "<no version info>"},
      {"claims more than it holds", real.size(), 0xFFFF, "1.0 release:5 build:6"},
      {"ends before the version words", 50, 0xFFFF, "<no version info>"},
      {"ends just behind the version words", 56, 56, "1.0 release:5 build:6"},
      {"a single byte", 1, 0, "<no version info>"},
  };
  for (const TCase& c : cases) {
    std::vector<BYTE> block(real.begin(), real.begin() + c.keep);
    if (block.size() >= 2) setLength(block, c.claimed);
    TLinkedVersion version(block);
    EXPECT_EQ(versionText(), c.expected) << c.what;
  }
}

TEST(TVersionInfo, NoBufferOrNoRoomLeavesItUntouched) {
  char buffer[4] = {'a', 'b', 'c', 'd'};
  EXPECT_EQ(GetVersionInfo(nullptr, buffer, 0), buffer);
  EXPECT_EQ(std::memcmp(buffer, "abcd", 4), 0);
  EXPECT_EQ(GetVersionInfo(nullptr, nullptr, 10), nullptr);
}
