// The programming run and its load blocks: 132 bytes each, 128 data bytes
// behind the address, the tail 0xFF; a jump in the addresses ends a block.
#include <gtest/gtest.h>

#include <ostream>

#include "qdx_writer_fixture.h"

namespace {

using outtest::Sequence;
using outtest::TImage;

constexpr size_t FLASH_SIZE = 128 * 1024;

TImage AsImage(const std::vector<uint8_t>& bytes) { return outtest::Bytes(0, bytes); }

class QdxWriter : public TQdxWriterTest {};

TEST_F(QdxWriter, ProgramsAValidImageAndLeavesDiagnosticMode) {
  ASSERT_NO_FATAL_FAILURE(Begin());
  const std::vector<uint8_t> image = qdxtest_ValidImage();
  for (int save = 0; save < 2; ++save) {
    SCOPED_TRACE(save);
    const TSaveRun run = Save(AsImage(image), PathDestination());
    EXPECT_TRUE(run.result);
    EXPECT_EQ(run.output,
              std::string(QDX_CONNECTED_TO_LOADING) + "** OK\nVerifying and starting ... OK\nClosing diag... OK\n");
    EXPECT_EQ(run.error, "");
  }
  EXPECT_EQ(EventFields("mode", 1), (std::vector<std::string>{"48", "44", "47", "40", "48", "44", "47", "40"}));
  EXPECT_EQ(EventFields("start", 1), (std::vector<std::string>{"ok", "ok"}));
  EXPECT_EQ(EventFields("close", 0).size(), 2u);
  const TBytes flash = Flash();
  ASSERT_EQ(flash.size(), FLASH_SIZE);
  EXPECT_EQ(TBytes(flash.begin(), flash.begin() + image.size()), image);
  EXPECT_EQ(TBytes(flash.begin() + image.size(), flash.end()), TBytes(FLASH_SIZE - image.size(), 0xFF));
}

struct TBlockCase {
  const char* name;
  TImage image;
  std::vector<std::pair<uint32_t, size_t>> blocks;  // address, data bytes
};

std::ostream& operator<<(std::ostream& out, const TBlockCase& c) { return out << c.name; }

class QdxLoadBlocks : public TQdxWriterTest, public ::testing::WithParamInterface<TBlockCase> {};

// Images that the controller refuses to start (no END_OF_PROGRAM), so every
// run ends with the verify refusal after all blocks were stored.
TEST_P(QdxLoadBlocks, SendsEachRunInBlocksAtItsOwnAddresses) {
  ASSERT_NO_FATAL_FAILURE(Begin());
  const TImage& image = GetParam().image;
  const TSaveRun run = Save(image, PathDestination());
  EXPECT_FALSE(run.result);
  EXPECT_EQ(run.output, std::string(QDX_CONNECTED_TO_LOADING) + std::string(GetParam().blocks.size(), '*') +
                            " OK\nVerifying and starting ... Fail\nClosing diag... OK\n");
  EXPECT_EQ(run.error, "ERROR: QDX code verify fail!");

  const std::vector<TSentBlock> sent = SentBlocks();
  ASSERT_EQ(sent.size(), GetParam().blocks.size());
  size_t next = 0;
  for (size_t b = 0; b < sent.size(); ++b) {
    SCOPED_TRACE(b);
    EXPECT_EQ(sent[b].address, GetParam().blocks[b].first);
    const size_t count = GetParam().blocks[b].second;
    TBytes expected(128, 0xFF);
    for (size_t i = 0; i < count; ++i) expected[i] = image[next + i].data;
    EXPECT_EQ(sent[b].data, expected);
    next += count;
  }
  EXPECT_EQ(next, image.size());

  const TBytes flash = Flash();
  ASSERT_EQ(flash.size(), FLASH_SIZE);
  for (const outtest::TImageByte& byte : image) EXPECT_EQ(flash.at(byte.address), byte.data) << byte.address;
}

INSTANTIATE_TEST_SUITE_P(
    Images, QdxLoadBlocks,
    ::testing::Values(TBlockCase{"exactly_two_full_blocks", Sequence(0, 256, 1), {{0x00, 128}, {0x80, 128}}},
                      TBlockCase{"a_full_block_and_one_byte", Sequence(0, 129, 1), {{0x00, 128}, {0x80, 1}}},
                      TBlockCase{"one_byte", Sequence(0x1234, 1, 0x5A), {{0x1234, 1}}},
                      TBlockCase{"gap_inside_the_first_block",
                                 Sequence(0, 100, 1) + Sequence(0x200, 50, 7),
                                 {{0x000, 100}, {0x200, 50}}},
                      TBlockCase{"gap_inside_the_second_block",
                                 Sequence(0x10, 130, 1) + Sequence(0x1000, 10, 3),
                                 {{0x10, 128}, {0x90, 2}, {0x1000, 10}}},
                      TBlockCase{"gap_right_after_a_full_block",
                                 Sequence(0, 128, 1) + Sequence(0x400, 3, 9),
                                 {{0x000, 128}, {0x400, 3}}},
                      TBlockCase{"gap_of_one_address", Sequence(0, 5, 1) + Sequence(6, 5, 50), {{0, 5}, {6, 5}}}),
    [](const ::testing::TestParamInfo<TBlockCase>& info) { return std::string(info.param.name); });

struct TBusyCase {
  const char* name;
  TImage image;
  size_t stored;        // by the controller, which finishes a block the writer gave up on
  std::string loading;  // printed from the load prompt on
  std::string error;
};

std::ostream& operator<<(std::ostream& out, const TBusyCase& c) { return out << c.name; }

class QdxBusyLimits : public TQdxWriterTest, public ::testing::WithParamInterface<TBusyCase> {};

// A controller busy for 700 ms per block: within the 1000 ms a full block
// (or one that a jump ended) may take, past the 500 ms of the last one.
TEST_P(QdxBusyLimits, FullBlocksWaitLongerThanTheLast) {
  ASSERT_NO_FATAL_FAILURE(Begin({{"QDXSIM_BUSY_MS", "700"}}));
  const TSaveRun run = Save(GetParam().image, PathDestination());
  EXPECT_FALSE(run.result);
  EXPECT_EQ(run.output.substr(0, std::string(QDX_CONNECTED_TO_LOADING).size()), QDX_CONNECTED_TO_LOADING);
  EXPECT_EQ(run.output.substr(std::string(QDX_CONNECTED_TO_LOADING).size()), GetParam().loading);
  EXPECT_EQ(run.error, GetParam().error);
  EXPECT_EQ(EventFields("block", 2), std::vector<std::string>(GetParam().stored, "ok"));
}

INSTANTIATE_TEST_SUITE_P(Images, QdxBusyLimits,
                         ::testing::Values(TBusyCase{"two_full_blocks", Sequence(0, 256, 1), 2,
                                                     "** OK\nVerifying and starting ... Fail\nClosing diag... OK\n",
                                                     "ERROR: QDX code verify fail!"},
                                           TBusyCase{"block_ended_by_a_jump",
                                                     Sequence(0, 10, 1) + Sequence(0x100, 128, 1), 2,
                                                     "** OK\nVerifying and starting ... Fail\nClosing diag... OK\n",
                                                     "ERROR: QDX code verify fail!"},
                                           TBusyCase{"partial_last_block", Sequence(0, 129, 1), 2,
                                                     "*Fail\nClosing diag... OK\n", "ERROR: QDX load code fail!"}),
                         [](const ::testing::TestParamInfo<TBusyCase>& info) { return std::string(info.param.name); });

}  // namespace
