// Files written by GNU objcopy and by srecord's srec_cat load into exactly
// the image they were made from: gaps, addresses above 64 KiB and past 16 MiB.
#include "input_plugin.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

namespace {

struct TBlob {
  const char* file;
  uint32_t address;
  size_t size;
};

// Across the 64 KiB boundary, behind a gap, and beyond what 20-bit segment
// addressing reaches; the last one is left out for segment-addressed files.
const TBlob blobs[] = {{"a.bin", 0xFFF0, 300}, {"b.bin", 0x30000, 100}, {"c.bin", 0x1234500, 64}};

struct TPeerCase {
  const char* name;
  const char* format;
  bool segmented;
  // The command, with %A to %C for the blob files and %O for the output.
  std::string command;
};

void PrintTo(const TPeerCase& row, std::ostream* out) { *out << row.name; }

const std::string objcopyLowSections =
    " --change-addresses 0xFFF0 %A"
    " --add-section .b=%B --set-section-flags .b=alloc,load,contents --change-section-address .b=0x30000";
const std::string objcopySections =
    objcopyLowSections +
    " --add-section .c=%C --set-section-flags .c=alloc,load,contents --change-section-address .c=0x1234500";
const char* const srecCatInputs =
    "srec_cat %A -binary -offset 0xFFF0 %B -binary -offset 0x30000 %C -binary -offset 0x1234500";
const char* const srecCatSegmented = "srec_cat %A -binary -offset 0xFFF0 %B -binary -offset 0x30000";

std::string expand(std::string text, const std::string& dir) {
  const std::pair<std::string, std::string> names[] = {
      {"%A", dir + "/a.bin"}, {"%B", dir + "/b.bin"}, {"%C", dir + "/c.bin"}, {"%O", dir + "/out"}};
  for (const auto& [key, value] : names)
    for (size_t at; (at = text.find(key)) != std::string::npos;) text.replace(at, key.size(), value);
  return text;
}

std::vector<TPeerCase> peerCases() {
  const std::string objcopy = "objcopy -I binary ";
  const std::string srecCat = srecCatInputs;
  return {
      {"ObjcopySrecS3", "s19", false, objcopy + "-O srec --srec-forceS3" + objcopySections + " %O"},
      {"ObjcopySrecS2", "s19", true, objcopy + "-O srec" + objcopyLowSections + " %O"},
      {"ObjcopySrecLongLines", "s19", false, objcopy + "-O srec --srec-len=250" + objcopySections + " %O"},
      {"ObjcopyIhex", "ihex", false, objcopy + "-O ihex" + objcopySections + " %O"},
      {"SrecCatMotorola", "s19", false, srecCat + " -execution-start-address=0xFFF0 -o %O -motorola"},
      {"SrecCatMotorolaS3LongLines", "s19", false,
       srecCat + " -execution-start-address=0xFFF0 -o %O -motorola -address-length=4 -line-length=500"},
      {"SrecCatMotorolaS2", "s19", true,
       std::string(srecCatSegmented) + " -execution-start-address=0xFFF0 -o %O -motorola"},
      {"SrecCatMotorolaCrLf", "s19", false, srecCat + " -disable=data-count -o %O -motorola -crlf"},
      {"SrecCatIntelLinear", "ihex", false, srecCat + " -o %O -intel"},
      {"SrecCatIntelCrLfLongLines", "ihex", false, srecCat + " -o %O -intel -crlf -line-length=500"},
      {"SrecCatIntelSegmented", "ihex", true, std::string(srecCatSegmented) + " -o %O -intel -address-length=3"},
  };
}

class PeerFiles : public testing::TestWithParam<TPeerCase> {};

TEST_P(PeerFiles, LoadIntoTheImageTheyWereMadeFrom) {
  const auto& row = GetParam();
  TInputPlugin plugin(row.format);
  const std::string& dir = plugin.Dir().Path();

  std::mt19937 random(0x5eed);
  std::vector<TImageByte> expected;
  for (const auto& blob : blobs) {
    std::string content(blob.size, '\0');
    for (size_t i = 0; i < blob.size; ++i) {
      content[i] = static_cast<char>(random());
      if (!(row.segmented && blob.address > 0xFFFFF))
        expected.push_back({blob.address + static_cast<uint32_t>(i), static_cast<uint8_t>(content[i])});
    }
    plugin.Dir().Write(blob.file, content);
  }

  const std::string command = expand(row.command, dir);
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  const std::string out = dir + "/out";
  EXPECT_TRUE(plugin.LoadFile(out.c_str())) << command;
  EXPECT_EQ(plugin.Walk(), expected) << command;
}

INSTANTIATE_TEST_SUITE_P(Peers, PeerFiles, testing::ValuesIn(peerCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
