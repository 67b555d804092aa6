// Opening a controller for one holder at a time: while one of our programs
// holds it, every other open fails, in the same process or in another one.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "child_process.h"
#include "diag_fixture.h"
#include "hid_exclusive.h"

namespace {

class HidExclusive : public TDiagTest {
 protected:
  void SetUp() override {
    TDiagTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(Start({}, false));
    path = standin_device_path(folder);
  }
  void TearDown() override {
    hidio_close(held);
    held = nullptr;
    TDiagTest::TearDown();
  }

  // Opens that reached the stand-in's controllers, in this process.
  size_t Opens() const { return standin_events(Record(), "open").size(); }

  // A program of the build, with the stand-in preloaded as in this test and
  // the same device nodes, recording into a file of its own.
  testkit::TChildRun RunProgram(const std::string& program, const std::vector<std::string>& args) {
    testkit::TChildRequest request;
    request.program = program;
    request.args = args;
    request.environment =
        testkit::ChildEnvironment({"QDXSIM_RECORD="}, {"QDXSIM_RECORD=" + folder.File("child-record.txt")});
    return testkit::RunChild(request);
  }
  std::vector<TRecordLine> ChildRecord() const { return standin_record(folder.File("child-record.txt")); }

  std::string path;
  hid_device* held = nullptr;
};

TEST_F(HidExclusive, ASecondOpenFailsUntilTheFirstCloses) {
  held = hidio_open_exclusive(path.c_str());
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(hidio_open_exclusive(path.c_str()), nullptr);
  EXPECT_EQ(Opens(), 1u) << "the second open never reached the device";
  hidio_close(held);
  held = hidio_open_exclusive(path.c_str());
  EXPECT_NE(held, nullptr) << "free again after the close";
}

// As a hidraw node this user may not open: the open fails before hidapi's.
TEST_F(HidExclusive, ANodeThatCannotBeOpenedFails) {
  std::filesystem::remove(path);
  std::filesystem::create_directory(path);
  EXPECT_EQ(hidio_open_exclusive(path.c_str()), nullptr);
  EXPECT_EQ(hidio_open_exclusive(nullptr), nullptr);
  EXPECT_EQ(Opens(), 0u);
  hidio_close(nullptr);
}

TEST_F(HidExclusive, AnotherProcessCannotOpenAHeldController) {
  held = hidio_open_exclusive(path.c_str());
  ASSERT_NE(held, nullptr);
  testkit::TChildRun run = RunProgram(QDXTEST_TOOL, {});
  EXPECT_NE(run.out.find("Opening device... Fail\n"), std::string::npos) << run.out;
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(standin_events(ChildRecord(), "open").empty());

  hidio_close(held);
  held = nullptr;
  run = RunProgram(QDXTEST_TOOL, {});
  EXPECT_NE(run.out.find("Opening device... OK\n"), std::string::npos) << run.out;
  EXPECT_EQ(run.status, 0);
}

// Two programming runs cannot interleave: the writer of another process
// does not connect to a controller held here.
TEST_F(HidExclusive, AnotherProcessCannotProgramAHeldController) {
  held = hidio_open_exclusive(path.c_str());
  ASSERT_NE(held, nullptr);
  const testkit::TChildRun run = RunProgram(QDXTEST_PLCCOMP_EXAMPLE, {"-p", QDXTEST_WR_QDX, "/../?/qdx1://@" + path});
  const std::string unable = "Unable to connect to Tolvane!\n";
  ASSERT_GE(run.out.size(), unable.size());
  EXPECT_EQ(run.out.substr(run.out.size() - unable.size()), unable) << run.out << run.err;
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(standin_events(ChildRecord(), "write").empty());
}

}  // namespace
