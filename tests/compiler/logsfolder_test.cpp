// The four dumps of a compile land in the logs folder beside the host program.
#include <filesystem>
#include <string>

#include "plccomp_fixture.h"

namespace fs = std::filesystem;

namespace {

// Copies the test host into folder and runs it there; gives its exit status.
int runHostIn(const std::string& folder) {
  const fs::path host = fs::path(folder) / "host";
  fs::copy_file(PLCCOMP_DUMPHOST, host);
  const std::string command = "'" + host.string() + "' '" PLCCOMP_LIBRARY "' > '" + folder + "/host.out' 2>&1";
  return std::system(command.c_str());
}

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
  ASSERT_EQ(runHostIn(dir.Path()), 0) << dir.Read("host.out");
  // Written before the trailer is filled in.
  EXPECT_EQ(dir.Read("logs/withexec.csv"), std::string(kProgramRows) + "\n\"\";255;\"END_OF_PROGRAM\";0;0;0;0");
  const std::string pcode = dir.Read("logs/pcodetest.csv");
  const std::string filledEnd = "\n\"\";255;\"END_OF_PROGRAM\";33;0;16739;";
  EXPECT_EQ(pcode.substr(0, pcode.find(filledEnd) + filledEnd.size()), kProgramRows + filledEnd);
  EXPECT_EQ(dir.Read("logs/symtest.csv"),
            "name;addr;bit;accessed;fixed"
            "\n\"ram_bit_lamp\";0x00000000;0;4;FALSE"
            "\n\"ram_bit_door\";0x00000001;0;3;FALSE"
            "\n\"lbl_1_1\";0x00000003;0;2;FALSE"
            "\n\"lbl_1_0\";0x00000001;0;1;FALSE");
  const std::string icode = dir.Read("logs/icodetest.csv");
  EXPECT_EQ(icode.substr(0, icode.find('\n')), "  1:set bit 'lamp'");
  EXPECT_TRUE(endsWith(icode, "\n255;\"END_OF_PROGRAM\";\"\";\"\";\"\";0"));
}

TEST(LogsFolder, MissingFolderIsNotCreatedAndTheCompileSucceeds) {
  testkit::TTempDir dir;
  ASSERT_EQ(runHostIn(dir.Path()), 0) << dir.Read("host.out");
  EXPECT_FALSE(fs::exists(dir.File("logs")));
  EXPECT_TRUE(endsWith(dir.Read("host.out"), "\nStartCompile() gave 0\n"));
}
