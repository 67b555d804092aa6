// The DE include writer's files.
#include <gtest/gtest.h>

#include "expected_files.h"

namespace outtest {
namespace {

std::string Org(const std::string& address) { return "\torg 0x" + address + "\n\n"; }
std::string Line(const std::vector<uint8_t>& values) { return "\tDE" + Items(values) + "\n"; }

TEST(DEWriter, WritesTheseExactFiles) {
  ExpectFiles("de", {
                        {"three bytes", Bytes(0x100, {1, 2, 3}), "\torg 0x100\n\n\tDE 0x01, 0x02, 0x03\n"},
                        {"twenty bytes in one run", Sequence(0, 20), Org("0") + Line(Values(16)) + Line(Values(4, 16))},
                        {"a jump in the middle of a line", Sequence(0, 3) + Bytes(0x10, {9}),
                         Org("0") + Line(Values(3)) + Org("10") + Line({9})},
                        {"a jump right after a full line", Sequence(0, 16) + Bytes(0x20, {9}),
                         Org("0") + Line(Values(16)) + Org("20") + Line({9})},
                        {"first byte at the top address", Bytes(0xFFFFFFFF, {0x5A}), Org("FFFFFFFF") + Line({0x5A})},
                        {"a run that wraps past the top address", Bytes(0xFFFFFFFE, {1, 2, 3, 4}),
                         Org("FFFFFFFE") + Line({1, 2, 3, 4})},
                    });
}

}  // namespace
}  // namespace outtest
