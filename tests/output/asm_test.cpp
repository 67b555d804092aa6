// The GNU assembler source writer's files: sections, data lines and the
// comments that hold what the sections cannot.
#include <gtest/gtest.h>

#include "expected_files.h"

namespace outtest {
namespace {

const std::string SETTINGS = ".section plc_settings, psv\n.global _PLC_settings\n_PLC_settings:\n\n";
const std::string BYTECODE = "\n.section plc_bytecode, psv\n.global _PLC_bytecode\n_PLC_bytecode:\n\n";

std::string Line(const std::vector<uint8_t>& values) { return "\t.byte " + Items(values) + "\n"; }
std::string CannotEmit(const std::string& address) { return "\t;Cannot emit to address 0x" + address + " now"; }

// `count` bytes from `first` on, a .byte line each 16.
std::string LinesOf(size_t count, uint8_t first = 0) {
  std::string text;
  for (size_t done = 0; done < count; done += 16)
    text += Line(Values(std::min<size_t>(16, count - done), static_cast<uint8_t>(first + done)));
  return text;
}

TEST(AsmWriter, WritesTheseExactFiles) {
  ExpectFiles(
      "s",
      {
          {"settings block and byte code", Sequence(0, 208 + 20),
           SETTINGS + LinesOf(208) + BYTECODE + LinesOf(20, 208)},
          {"a jump into the byte code", Bytes(0, {1, 2}) + Bytes(0xD0, {3}),
           SETTINGS + Line({1, 2}) + BYTECODE + Line({3})},
          {"jumps inside either section", Bytes(0, {1}) + Bytes(0x10, {2}) + Bytes(0xD0, {3}) + Bytes(0x100, {4}),
           SETTINGS + Line({1}) + Line({2}) + BYTECODE + Line({3}) + Line({4})},
          {"no settings block", Sequence(0xD0, 20),
           CannotEmit("D0") + LinesOf(16) + CannotEmit("E0") + Line(Values(4, 16))},
          {"beyond the byte code and back",
           Bytes(0, {1}) + Bytes(0xD0, {2}) + Bytes(0x10000000, {3}) + Bytes(0x10000010, {4}) + Bytes(0x200, {5}),
           SETTINGS + Line({1}) + BYTECODE + Line({2}) + CannotEmit("10000000") + Line({3}) + CannotEmit("10000010") +
               Line({4}) + CannotEmit("200") + Line({5})},
          {"back into the settings block", Bytes(0, {1}) + Bytes(0xD0, {2}) + Bytes(0x10, {3}),
           SETTINGS + Line({1}) + BYTECODE + Line({2}) + CannotEmit("10") + Line({3})},
          {"from the settings block beyond the byte code", Bytes(0, {1}) + Sequence(0x10000000, 17) + Bytes(0x300, {9}),
           SETTINGS + Line({1}) + CannotEmit("10000000") + LinesOf(16) + CannotEmit("10000010") + Line({16}) +
               CannotEmit("300") + Line({9})},
          {"a jump right after a full line beyond the range",
           Bytes(0xD0, {}) + Sequence(0x10000000, 16) + Bytes(0x10000100, {7}),
           CannotEmit("10000000") + LinesOf(16) + CannotEmit("10000010") + CannotEmit("10000100") + Line({7})},
          {"a byte code line wrapping past the top address",
           Bytes(0, {1}) + Bytes(0xD0, {2}) + Sequence(0xFFFFFFF0, 16),
           SETTINGS + Line({1}) + BYTECODE + Line({2}) + CannotEmit("FFFFFFF0") + LinesOf(16) + CannotEmit("0")},
      });
}

}  // namespace
}  // namespace outtest
