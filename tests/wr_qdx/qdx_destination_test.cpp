// Which controller a destination names: the path form, the serial form with
// its selection text and ordinal, and the destinations that name none.
#include <gtest/gtest.h>

#include <ostream>

#include "qdx_writer_fixture.h"

namespace {

const std::string SERIAL_FORM = "/../?/qdx1://";
const std::string PROGRAMMED =
    std::string(QDX_CONNECTED_TO_LOADING) + "** OK\nVerifying and starting ... OK\nClosing diag... OK\n";
const std::string UNABLE = "Unable to connect to Tolvane!\n";

std::string Candidates(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += QDX_CANDIDATE;
  return text;
}

struct TDestinationCase {
  const char* name;
  TStandinEnv env;
  std::string destination;  // "@<i>": the path form of controller i
  int opened;               // controller opened, -1 for none
  std::string output;
};

std::ostream& operator<<(std::ostream& out, const TDestinationCase& c) { return out << c.name; }

class QdxDestination : public TQdxWriterTest, public ::testing::WithParamInterface<TDestinationCase> {};

TEST_P(QdxDestination, ProgramsTheNamedControllerOrNone) {
  ASSERT_NO_FATAL_FAILURE(Begin(GetParam().env));
  std::string destination = GetParam().destination;
  if (destination.rfind("@", 0) == 0) destination = PathDestination(std::stoi(destination.substr(1)));
  const TSaveRun run = Save(outtest::Bytes(0, qdxtest_ValidImage()), destination);
  EXPECT_EQ(run.output, GetParam().output);
  EXPECT_EQ(run.result, GetParam().opened >= 0);
  EXPECT_EQ(run.error, GetParam().opened >= 0 ? "" : "Unable to connect to Tolvane!");
  std::vector<std::string> opened;
  for (const TRecordLine& line : standin_events(Record(), "open")) {
    if (line.fields.at(1) == "ok") opened.push_back(line.fields.at(0));
  }
  if (GetParam().opened >= 0) {
    EXPECT_EQ(opened, std::vector<std::string>{std::to_string(GetParam().opened)});
    EXPECT_EQ(EventFields("close", 0), std::vector<std::string>{std::to_string(GetParam().opened)});
  } else {
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(standin_events(Record(), "write").empty());
  }
}

const TStandinEnv three = {{"QDXSIM_COUNT", "3"}};

INSTANTIATE_TEST_SUITE_P(
    Destinations, QdxDestination,
    ::testing::Values(
        TDestinationCase{"path_form", {}, "@0", 0, PROGRAMMED},
        TDestinationCase{"path_form_of_the_second_controller", three, "@1", 1, PROGRAMMED},
        TDestinationCase{"path_form_unknown_path", {}, "/../?/qdx1://@/dev/nothing", -1, UNABLE},
        TDestinationCase{"path_form_empty_path", {}, "/../?/qdx1://@", -1, UNABLE},
        TDestinationCase{"path_form_open_fails", {{"QDXSIM_FAULTS", "open_fail:1"}}, "@0", -1, UNABLE},
        TDestinationCase{"neither_prefix", {}, "/dev/qdxsim0", -1, UNABLE},
        TDestinationCase{"empty_destination", {}, "", -1, UNABLE},
        TDestinationCase{"prefix_cut_short", {}, "/../?/qdx1:/", -1, UNABLE},
        TDestinationCase{"serial_form_empty_selection", three, SERIAL_FORM, 0, Candidates(1) + PROGRAMMED},
        TDestinationCase{"serial_form_ordinal_2", three, SERIAL_FORM + ":2", 1, Candidates(2) + PROGRAMMED},
        TDestinationCase{"serial_form_ordinal_0_is_1", three, SERIAL_FORM + ":0", 0, Candidates(1) + PROGRAMMED},
        TDestinationCase{"serial_form_negative_ordinal_is_1", three, SERIAL_FORM + ":-4", 0,
                         Candidates(1) + PROGRAMMED},
        TDestinationCase{"serial_form_text_ordinal_is_1", three, SERIAL_FORM + ":two", 0, Candidates(1) + PROGRAMMED},
        TDestinationCase{"serial_form_ordinal_past_the_list", three, SERIAL_FORM + ":4", -1, Candidates(3) + UNABLE},
        TDestinationCase{"serial_form_huge_ordinal", three, SERIAL_FORM + ":99999999999999999999", -1,
                         Candidates(3) + UNABLE},
        TDestinationCase{"serial_number", three, SERIAL_FORM + "QDXSIM0003", 2, Candidates(3) + PROGRAMMED},
        TDestinationCase{"serial_number_and_ordinal_1", three, SERIAL_FORM + "QDXSIM0002:1", 1,
                         Candidates(2) + PROGRAMMED},
        TDestinationCase{"serial_number_and_ordinal_2_of_one", three, SERIAL_FORM + "QDXSIM0002:2", -1,
                         Candidates(3) + UNABLE},
        TDestinationCase{"serial_number_cut_at_the_last_colon",
                         {{"QDXSIM_COUNT", "2"}, {"QDXSIM_SERIALS", "A:B,A:B"}},
                         SERIAL_FORM + "A:B:2",
                         1,
                         Candidates(2) + PROGRAMMED},
        TDestinationCase{"serial_number_unknown", three, SERIAL_FORM + "QDXSIM0009", -1, Candidates(3) + UNABLE},
        TDestinationCase{"serial_number_against_a_missing_one",
                         {{"QDXSIM_COUNT", "2"}, {"QDXSIM_SERIALS", "@null,QDXSIM0002"}},
                         SERIAL_FORM + "QDXSIM0002",
                         1,
                         Candidates(2) + PROGRAMMED},
        TDestinationCase{"release_of_another_major_skipped",
                         {{"QDXSIM_COUNT", "2"}, {"QDXSIM_RELEASE", "0x2102,0x1102"}},
                         SERIAL_FORM,
                         1,
                         Candidates(2) + PROGRAMMED},
        TDestinationCase{"no_controller", {{"QDXSIM_COUNT", "0"}}, SERIAL_FORM, -1, UNABLE},
        TDestinationCase{
            "serial_form_open_fails", {{"QDXSIM_FAULTS", "open_fail:all"}}, SERIAL_FORM, -1, Candidates(1) + UNABLE}),
    [](const ::testing::TestParamInfo<TDestinationCase>& info) { return std::string(info.param.name); });

// Paths longer than the Windows build's destination buffers (260
// characters), as long as a Linux path may be (4095 bytes), and selection
// texts beyond every buffer: nothing is cut, the controller behind the long
// path is programmed.
class QdxLongDestination : public TQdxWriterTest {};

TEST_F(QdxLongDestination, LongPathsReachTheirController) {
  ASSERT_NO_FATAL_FAILURE(Begin({{"QDXSIM_PATH_PAD", "3500"}}));
  for (const std::string& destination : {PathDestination(), SERIAL_FORM, SERIAL_FORM + "QDXSIM0001"}) {
    const TSaveRun run = Save(outtest::Bytes(0, qdxtest_ValidImage()), destination);
    EXPECT_TRUE(run.result) << run.output;
  }
  EXPECT_EQ(EventFields("open", 1), (std::vector<std::string>{"ok", "ok", "ok"}));
}

TEST_F(QdxLongDestination, OverLongSelectionTextsNameNoController) {
  ASSERT_NO_FATAL_FAILURE(Begin());
  // A selection beyond what is read, and one whose ordinal lies beyond it.
  const std::string longText(20000, 'Q');
  for (const std::string& destination : {SERIAL_FORM + longText, SERIAL_FORM + longText + ":1"}) {
    const TSaveRun run = Save(outtest::Bytes(0, qdxtest_ValidImage()), destination);
    EXPECT_FALSE(run.result);
    EXPECT_EQ(run.output, Candidates(1) + UNABLE);
  }
}

// An empty image ends the save before the destination is even read.
class QdxEmptyImage : public TQdxWriterTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(QdxEmptyImage, LeavesTheDeviceUntouched) {
  ASSERT_NO_FATAL_FAILURE(Begin());
  const std::string destination = GetParam() == "path" ? PathDestination() : GetParam();
  const size_t before = Record().size();
  const TSaveRun run = Save({}, destination);
  EXPECT_FALSE(run.result);
  EXPECT_EQ(run.error, "Nothing to write.");
  EXPECT_EQ(run.output, "");
  EXPECT_EQ(Record().size(), before);
}

INSTANTIATE_TEST_SUITE_P(Destinations, QdxEmptyImage, ::testing::Values("path", "/../?/qdx1://", "nowhere"));

}  // namespace
