// objcopy and srec_cat, which nobody here wrote, read our S-record and
// Intel HEX files into exactly the bytes we wrote.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "file_io.h"
#include "writer_under_test.h"

namespace outtest {
namespace {

struct TPeerRun {
  int status;
  std::string errors;
};

TPeerRun RunPeer(const std::string& command, const std::string& errorFile) {
  const int status = std::system((command + " 2>'" + errorFile + "'").c_str());
  return {status, testkit::ReadFile(errorFile)};
}

// Both peers can print "@address" followed by the bytes from there on.
TImage ParseAddressedHex(const std::string& text) {
  TImage image;
  uint32_t address = 0;
  std::istringstream words(text);
  for (std::string word; words >> word;) {
    if (word.rfind("/*", 0) == 0) {
      while (word.find("*/") == std::string::npos && words >> word) {
      }
    } else if (word[0] == '@') {
      address = static_cast<uint32_t>(std::stoul(word.substr(1), nullptr, 16));
    } else {
      image.push_back({address++, static_cast<uint8_t>(std::stoul(word, nullptr, 16))});
    }
  }
  return image;
}

struct TPeerCase {
  std::string writer;
  std::string objcopyFormat;
  std::string srecCatFormat;
};

void PrintTo(const TPeerCase& peerCase, std::ostream* out) { *out << peerCase.writer; }

class PeerTest : public ::testing::TestWithParam<TPeerCase> {
 protected:
  TWriterUnderTest writer{GetParam().writer};

  std::string Quoted(const std::string& name) const { return "'" + writer.Dir().File(name) + "'"; }

  void ExpectPeersRead(const TImage& image) {
    ASSERT_NE(writer.Save(image).rfind("SaveAs failed", 0), 0u) << writer.Plugin().LastError();
    const std::string ours = "'" + writer.LastFile() + "'";
    const std::string errors = writer.Dir().File("errors");

    TPeerRun objcopy = RunPeer("objcopy -I " + GetParam().objcopyFormat + " -O verilog --verilog-data-width 1 " + ours +
                                   " " + Quoted("objcopy.v"),
                               errors);
    ASSERT_EQ(objcopy.status, 0) << objcopy.errors;
    EXPECT_EQ(ParseAddressedHex(writer.Dir().Read("objcopy.v")), image) << "objcopy";

    TPeerRun srecCat = RunPeer(
        "srec_cat " + ours + " " + GetParam().srecCatFormat + " -o " + Quoted("srec_cat.v") + " -vmem 8", errors);
    ASSERT_EQ(srecCat.status, 0) << srecCat.errors;
    EXPECT_EQ(ParseAddressedHex(writer.Dir().Read("srec_cat.v")), image) << "srec_cat";
  }
};

TEST_P(PeerTest, GappedImage) { ExpectPeersRead(RandomGappedImage(1, 0x100, 300)); }

TEST_P(PeerTest, ImageAbove64KiB) {
  ExpectPeersRead(Sequence(0xFFF0, 40) + Sequence(0x1FFFA, 30, 0x80) + RandomGappedImage(2, 0x123456, 100) +
                  Sequence(0x7FFFFFF0, 16));
}

TEST_P(PeerTest, ImageEndingAtTheTopAddress) {
  ExpectPeersRead(Sequence(0, 5) + Sequence(0xFFFF0000, 3) + Sequence(0xFFFFFF00, 256, 0x10));
  ExpectPeersRead(Sequence(0xFFFFFFE7, 25));
}

TEST_P(PeerTest, RandomImageOverSeveral64KiBBlocks) { ExpectPeersRead(RandomGappedImage(3, 0x2FF00, 4000)); }

INSTANTIATE_TEST_SUITE_P(Peers, PeerTest,
                         ::testing::Values(TPeerCase{"s19", "srec", "-motorola"}, TPeerCase{"ihex", "ihex", "-intel"}),
                         [](const auto& info) { return info.param.writer; });

}  // namespace
}  // namespace outtest
