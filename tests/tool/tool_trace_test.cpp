// The tracing build prints every report it reads and writes between its own
// lines; the quiet build prints none.
#include <gtest/gtest.h>

#include <regex>

#include "tool_fixture.h"

namespace {

using tooltest::CLOSED;
using tooltest::Dump;
using tooltest::Listed;
using tooltest::OPENED;

const std::string ZEROS_16 = "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 ";

// The mode packet of DIAG_MODE_INFO (02 02 2a 00, then zeros), 16 bytes a line.
const std::string INFO_PACKET = "\nWR64>02 02 2a 00 00 00 00 00 00 00 00 00 00 00 00 00 \n    " + ZEROS_16 + "\n    " +
                                ZEROS_16 + "\n    " + ZEROS_16;
// The information report of a running controller with a shipped ladder.
const std::string INFO_REPORT = "hid_read 64 bytes:\nRD64>02 17 03 00 0a 00 06 00 08 00 04 00 00 00 00 00 \n    " +
                                ZEROS_16 + "\n    " + ZEROS_16 + "\n    " + ZEROS_16 + " bytes read 64 exit\n";
const std::string EMPTY_POLL = "hid_read 64 bytes: bytes read 0 exit\n";

class ToolTrace : public TToolTest {};

TEST_F(ToolTrace, TracesEveryReportBetweenTheToolsLines) {
  const testkit::TChildRun run = Run({}, {}, "", QDXTEST_TOOL_TRACE);
  EXPECT_EQ(run.status, 0);
  const std::string& out = run.out;
  EXPECT_EQ(out.rfind(Listed("QDXSIM0001", true) + OPENED, 0), 0u) << out;
  // Before each packet the flush finds nothing.
  EXPECT_NE(out.find("Entering diag mode... " + EMPTY_POLL + INFO_PACKET + INFO_REPORT), std::string::npos) << out;
  // The close's packet, after the flush's reads of what came before it.
  const size_t closing = out.find("Closing diag... ");
  ASSERT_NE(closing, std::string::npos);
  EXPECT_EQ(out.substr(out.find("\nWR64>", closing), 18), "\nWR64>02 02 28 00 ") << out.substr(closing);
  EXPECT_EQ(out.substr(out.size() - 3), "OK\n");

  // Without the trace the same run prints only the tool's own lines.
  const testkit::TChildRun quiet = Run({});
  EXPECT_EQ(quiet.out, Listed("QDXSIM0001", true) + OPENED + Dump({}) + CLOSED);
}

TEST_F(ToolTrace, TracesAFailedWrite) {
  const testkit::TChildRun run = Run({}, {{"QDXSIM_FAULTS", "write_fail:1"}}, "", QDXTEST_TOOL_TRACE);
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(std::regex_search(run.out, std::regex(INFO_PACKET.substr(6, 12) + "[^>]*ErrWr:-?[0-9]+ >>> -1\nFail\n")))
      << run.out;
}

// The test loop's reads and writes are traced too.
TEST_F(ToolTrace, TracesTheTestLoop) {
  const testkit::TChildRun run = Run({"-t"}, {{"QDXSIM_READ_BOUND_MS", "50"}}, "1", QDXTEST_TOOL_TRACE);
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("hid_read 64 bytes: bytes read 0 exit\n\nR0>\n\nW64>\n\nWR64>01 01 00 "), std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find(" >>> 64\n"), std::string::npos);
}

}  // namespace
