// The command line as argp answers it: help, usage and version texts, and
// bad options, which end the run before any controller is looked for.
#include <gtest/gtest.h>

#include "tool_fixture.h"

namespace {

class ToolArguments : public TToolTest {};

TEST_F(ToolArguments, HelpUsageAndVersion) {
  const struct {
    const char* option;
    std::string out;
  } cases[] = {
      {"--version", "qdx_tool 1.9.2 linux\n"},
      {"--help",
       "Usage: qdx_tool [OPTION...] [<input file>]\n"
       "Reads, sets status and programs Tolvane\n"
       "\n"
       "  -i, --in_file=<INFILE>     Input file\n"
       "  -n, --dev_num=<QDX ordinal>   Ordinal number of multiple connected QDXs\n"
       "  -P, --stop                 Stop Tolvane as first step\n"
       "  -r, --restart              Restart Tolvane\n"
       "  -R, --reset_diag           Reset diagnostics status\n"
       "  -S, --start                Start Tolvane before exit\n"
       "  -t, --test                 Test something\n"
       "  -?, --help                 Give this help list\n"
       "      --usage                Give a short usage message\n"
       "  -V, --version              Print program version\n"
       "\n"
       "Mandatory or optional arguments to long options are also mandatory or optional\n"
       "for any corresponding short options.\n"},
      {"--usage",
       "Usage: qdx_tool [-PrRSt?V] [-i <INFILE>] [-n <QDX ordinal>]\n"
       "            [--in_file=<INFILE>] [--dev_num=<QDX ordinal>] [--stop] [--restart]\n"
       "            [--reset_diag] [--start] [--test] [--help] [--usage] [--version]\n"
       "            [<input file>]\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.option);
    const testkit::TChildRun run = Run({c.option});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, c.out);
    EXPECT_TRUE(Record().empty());
  }
}

TEST_F(ToolArguments, BadOptionsEndTheRunBeforeAnyDeviceIsSought) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"-x"}, {"--dev_num"}, {"-i"}, {"--stop=1"}}) {
    SCOPED_TRACE(args.front());
    TRunRequest request;
    request.program = QDXTEST_TOOL;
    request.args = args;
    request.env = {{"QDXSIM_RECORD", File("record.txt")}};
    const testkit::TChildRun run = tooltest_run(request);
    EXPECT_EQ(run.status, 64);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("Try `qdx_tool --help' or `qdx_tool --usage' for more information."), std::string::npos)
        << run.err;
    EXPECT_TRUE(Record().empty());
  }
}

}  // namespace
