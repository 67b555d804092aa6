// The Intel HEX writer's files, record for record.
#include <gtest/gtest.h>

#include "expected_files.h"

namespace outtest {
namespace {

// The end-of-file record has no line end.
const std::string END = ":00000001FF";
const std::string UPPER_0000 = ":020000040000FA";

TEST(IHEXWriter, WritesTheseExactFiles) {
  ExpectFiles(
      "ihex",
      {
          {"three bytes", Bytes(0x100, {0x11, 0x22, 0x33}), Lines({UPPER_0000, ":0301000011223396"}) + END},
          {"a full record and the empty one after it", Sequence(0, 16),
           Lines({UPPER_0000, ":10000000000102030405060708090A0B0C0D0E0F78", ":00001000F0"}) + END},
          {"a record that runs across 64 KiB", Bytes(0xFFFF, {0x66, 0x77}),
           Lines({UPPER_0000, ":02FFFF00667723"}) + END},
          {"a byte above 64 KiB", Bytes(0x10000, {0x77}), Lines({":020000040001F9", ":010000007788"}) + END},
          {"a full record entering the next 64 KiB", Sequence(0xFFF8, 16),
           Lines({UPPER_0000, ":10FFF800000102030405060708090A0B0C0D0E0F81", ":020000040001F9", ":00000800F8"}) + END},
          {"a jump right after a full record", Sequence(0, 16) + Bytes(0x20, {0xAA}),
           Lines({UPPER_0000, ":10000000000102030405060708090A0B0C0D0E0F78", ":00001000F0", ":01002000AA35"}) + END},
          {"a jump in the middle of a record", Bytes(0, {1, 2, 3}) + Bytes(0x10, {4, 5}),
           Lines({UPPER_0000, ":03000000010203F7", ":020010000405E5"}) + END},
          {"a jump to another 64 KiB", Bytes(0x1FFFF, {1}) + Bytes(0x30000, {2}),
           Lines({":020000040001F9", ":01FFFF000100", ":020000040003F7", ":0100000002FD"}) + END},
          {"first byte at the top address", Bytes(0xFFFFFFFF, {0x5A}),
           Lines({":02000004FFFFFC", ":01FFFF005AA7"}) + END},
          {"a record that wraps past the top address", Bytes(0xFFFFFFFE, {1, 2, 3, 4}),
           Lines({":02000004FFFFFC", ":04FFFE0001020304F5"}) + END},
          {"a full record ending at the top address", Sequence(0xFFFFFFF0, 16),
           Lines({":02000004FFFFFC", ":10FFF000000102030405060708090A0B0C0D0E0F89", UPPER_0000, ":0000000000"}) + END},
      });
}

}  // namespace
}  // namespace outtest
