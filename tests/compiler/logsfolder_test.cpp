// The four dumps of a compile land in the logs folder beside the host program.
#include <filesystem>
#include <string>

#include "child_process.h"
#include "plccomp_fixture.h"

namespace fs = std::filesystem;

namespace {

// Copies the test host into folder and runs it from there.
testkit::TChildRun runHostIn(const std::string& folder) {
  const fs::path host = fs::path(folder) / fs::path(PLCCOMP_DUMPHOST).filename();
  fs::copy_file(PLCCOMP_DUMPHOST, host);
  testkit::TChildRequest request;
  request.program = host.string();
  request.args = {PLCCOMP_LIBRARY};
  return testkit::RunChild(request);
}

const char* const kDumps[] = {"withexec.csv", "icodetest.csv", "pcodetest.csv", "symtest.csv"};

const char* const kProgramRows =
    "label;OpID;Op;name1;name2;name3;literal"
    "\n\"\";1;\"SET_BIT\";0;0;0;0"
    "\n\"lbl_1_0\";50;\"IF_BIT_SET\";1;0;3;0"
    "\n\"\";3;\"COPY_BIT_TO_BIT\";0;1;0;0"
    "\n\"lbl_1_1\";61;\"END_IF\";0;0;0;0"
    "\n\"\";3;\"COPY_BIT_TO_BIT\";0;1;0;0"
    "\n\"\";1;\"SET_BIT\";0;0;0;0";

}  // namespace

TEST(LogsFolder, ReceivesTheFourDumps) {
  testkit::TTempDir dir;
  fs::create_directory(dir.File("logs"));
  const testkit::TChildRun host = runHostIn(dir.Path());
  ASSERT_EQ(host.status, 0) << host.out << host.err;
  const auto path = [&](const char* dump) { return (fs::path(dir.File("logs")) / dump).string(); };
  // Text files: with CR LF line ends on Windows.
  for (const char* dump : kDumps) EXPECT_TRUE(testkit::HasPlatformLineEnds(testkit::ReadFile(path(dump)))) << dump;
  const auto text = [&](const char* dump) { return testkit::ReadText(path(dump)); };
  // Written before the trailer is filled in.
  EXPECT_EQ(text("withexec.csv"), std::string(kProgramRows) + "\n\"\";255;\"END_OF_PROGRAM\";0;0;0;0");
  const std::string pcode = text("pcodetest.csv");
  const std::string filledEnd = "\n\"\";255;\"END_OF_PROGRAM\";33;0;16739;";
  EXPECT_EQ(pcode.substr(0, pcode.find(filledEnd) + filledEnd.size()), kProgramRows + filledEnd);
  EXPECT_EQ(text("symtest.csv"),
            "name;addr;bit;accessed;fixed"
            "\n\"ram_bit_lamp\";0x00000000;0;4;FALSE"
            "\n\"ram_bit_door\";0x00000001;0;3;FALSE"
            "\n\"lbl_1_1\";0x00000003;0;2;FALSE"
            "\n\"lbl_1_0\";0x00000001;0;1;FALSE");
  const std::string icode = text("icodetest.csv");
  EXPECT_EQ(icode.substr(0, icode.find('\n')), "  1:set bit 'lamp'");
  EXPECT_TRUE(endsWith(icode, "\n255;\"END_OF_PROGRAM\";\"\";\"\";\"\";0"));
}

TEST(LogsFolder, MissingFolderIsNotCreatedAndTheCompileSucceeds) {
  testkit::TTempDir dir;
  const testkit::TChildRun host = runHostIn(dir.Path());
  ASSERT_EQ(host.status, 0) << host.out << host.err;
  EXPECT_FALSE(fs::exists(dir.File("logs")));
  EXPECT_TRUE(endsWith(host.out, "\nStartCompile() gave 0\n"));
}
