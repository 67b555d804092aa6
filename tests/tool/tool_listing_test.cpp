// Finding and selecting a controller: the listing, the ordinal, the serial
// number texts, and the runs that end before anything is opened.
#include <gtest/gtest.h>

#include "tool_fixture.h"

namespace {

using tooltest::CLOSED;
using tooltest::Dump;
using tooltest::Listed;
using tooltest::OPENED;

struct TListingCase : tooltest::TNamedCase {
  TToolEnv env;
  std::vector<std::string> args;
  std::string output;
  int opened;  // controller opened, -1 for none
};

using ToolListing = TToolTable<TListingCase>;

TEST_P(ToolListing, ListsSelectsAndOpens) {
  const testkit::TChildRun run = Run(GetParam().args, GetParam().env);
  // A run that opens no controller has failed.
  EXPECT_EQ(run.status, GetParam().opened < 0 ? 1 : 0);
  EXPECT_EQ(run.out, GetParam().output);
  std::vector<std::string> opened;
  for (const TRecordLine& line : standin_events(Record(), "open"))
    opened.push_back(line.fields.at(0) + " " + line.fields.at(1));
  if (GetParam().opened < 0)
    EXPECT_EQ(Events("open", 1), std::vector<std::string>(opened.size(), "fail"));
  else
    EXPECT_EQ(opened.at(0), std::to_string(GetParam().opened) + " ok");
}

const std::string one = Listed("QDXSIM0001", true);
const std::string quietRun = std::string(OPENED) + Dump({}) + CLOSED;
const TToolEnv two = {{"QDXSIM_COUNT", "2"}};

std::string NoOrdinal(int ordinal) { return "No QDX with ordinal " + std::to_string(ordinal) + ": 2 listed.\n"; }

std::string Serial(const std::string& printed) { return Listed(printed, true) + quietRun; }

INSTANTIATE_TEST_SUITE_P(
    Runs, ToolListing,
    ::testing::Values(
        TListingCase{{"one_controller"}, {}, {}, one + quietRun, 0},
        TListingCase{{"no_controller"}, {{"QDXSIM_COUNT", "0"}}, {}, "QDX not found!\n", -1},
        TListingCase{{"second_of_two"},
                     two,
                     {"-n", "1"},
                     Listed("QDXSIM0001", false) + Listed("QDXSIM0002", true) + quietRun,
                     1},
        TListingCase{{"first_of_two_by_long_option"},
                     two,
                     {"--dev_num=0"},
                     Listed("QDXSIM0001", true) + Listed("QDXSIM0002", false) + quietRun,
                     0},
        TListingCase{{"ordinal_past_the_list"},
                     two,
                     {"-n", "2"},
                     Listed("QDXSIM0001", false) + Listed("QDXSIM0002", false) + NoOrdinal(2),
                     -1},
        TListingCase{{"negative_ordinal"},
                     two,
                     {"-n", "-1"},
                     Listed("QDXSIM0001", false) + Listed("QDXSIM0002", false) + NoOrdinal(-1),
                     -1},
        TListingCase{{"lowest_ordinal"},
                     two,
                     {"-n", "-2147483648"},
                     Listed("QDXSIM0001", false) + Listed("QDXSIM0002", false) + NoOrdinal(-2147483647 - 1),
                     -1},
        TListingCase{{"ordinal_that_is_no_number_is_0"},
                     two,
                     {"-n", "first"},
                     Listed("QDXSIM0001", true) + Listed("QDXSIM0002", false) + quietRun,
                     0},
        TListingCase{{"open_fails"}, {{"QDXSIM_FAULTS", "open_fail:1"}}, {}, one + "Opening device... Fail\n", -1},
        TListingCase{
            {"serial_of_0xffff_characters"}, {{"QDXSIM_SERIALS", "@ffff"}}, {}, Serial("<no serial number>"), 0},
        TListingCase{{"no_serial_number"}, {{"QDXSIM_SERIALS", "@null"}}, {}, Serial("(null)"), 0},
        TListingCase{{"empty_serial_number"}, {{"QDXSIM_SERIALS", ","}}, {}, Serial("(null)"), 0},
        TListingCase{{"serial_of_one_character"}, {{"QDXSIM_SERIALS", "Q"}}, {}, Serial("(null)"), 0},
        TListingCase{{"serial_of_two_characters"}, {{"QDXSIM_SERIALS", "QX"}}, {}, Serial("QX"), 0},
        TListingCase{{"release_printed_in_hex"},
                     {{"QDXSIM_RELEASE", "0x10ab"}},
                     {},
                     "  Manufacturer:  Tolvane\n  Product:       QDX controller stand-in\n  Release:       10ab\n"
                     "  serial_number: QDXSIM0001\n *** Selected Tolvane instance.\n\n\n" +
                         quietRun,
                     0}),
    tooltest::TCaseName());

// The real HID library, with no controller on the machine.
TEST(ToolWithoutStandin, FindsNoController) {
  TRunRequest request;
  request.program = QDXTEST_TOOL;
  request.standin = false;
  const testkit::TChildRun run = tooltest_run(request);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "QDX not found!\n");
}

}  // namespace
