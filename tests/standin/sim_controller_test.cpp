// The controller model, driven with explicit times so that nothing waits.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "sim_controller.h"
#include "sim_protocol.h"
#include "standin_images.h"

namespace {

using TBytes = std::vector<uint8_t>;

unsigned code_of(const TSimReport& r) { return r.at(1); }

unsigned word_of(const TSimReport& r) { return r.at(2) | r.at(3) << 8; }

class SimController : public ::testing::Test {
 protected:
  void Build(const std::function<void(TSimConfig&)>& change = {}) {
    TSimConfig config = sim_default_config(1);
    if (change) change(config);
    controller = std::make_unique<TSimController>(config, 0, TSimRecord());
  }

  void Packet(TBytes bytes, uint64_t now) {
    bytes.resize(64, 0);
    controller->Receive(bytes.data(), bytes.size(), now);
  }

  void Mode(unsigned mode, uint64_t now) { Packet({2, 0x02, uint8_t(mode), uint8_t(mode >> 8)}, now); }

  // Sends one 132-byte load block as the three packets of a data send.
  void Block(uint32_t address, const TBytes& data, uint64_t now) {
    TBytes block(248, 0);
    std::fill(block.begin() + 4, block.begin() + 132, 0xFF);
    for (int i = 0; i < 4; ++i) block[i] = uint8_t(address >> (8 * i));
    std::copy(data.begin(), data.end(), block.begin() + 4);
    for (int k = 0; k < 3; ++k) {
      TBytes packet = {2, uint8_t(k * 64 + 0x20)};
      packet.insert(packet.end(), block.begin() + 62 * k, block.begin() + 62 * (k + 1));
      Packet(packet, now);
    }
  }

  std::vector<TSimReport> Drain(uint64_t now) {
    std::vector<TSimReport> reports;
    while (controller->Pending(now)) reports.push_back(controller->Take(now));
    return reports;
  }

  // The one report a command is answered with.
  TSimReport Answer(uint64_t now) {
    std::vector<TSimReport> reports = Drain(now);
    EXPECT_EQ(reports.size(), 1u);
    return reports.empty() ? TSimReport(64, 0) : reports[0];
  }

  void Stop(uint64_t now) {
    Mode(SIM_MODE_STOP, now);
    Drain(now);
  }

  std::unique_ptr<TSimController> controller;
};

TEST_F(SimController, AnswersEveryOutputReportWithOneDiagnosticReport) {
  Build();
  const TBytes packets[] = {
      {2, 0x02, SIM_MODE_STOP},  // mode
      {2, 0x01},                 // reset
      {2, 0x00, 1, 2, 3},        // data
      {1, 1},                    // another report id
      {2, 0x0F},                 // unknown packet type
  };
  uint64_t now = 0;
  for (const TBytes& packet : packets) {
    Packet(packet, ++now);
    std::vector<TSimReport> reports = Drain(now);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].size(), 64u);
    EXPECT_EQ(reports[0][0], 2);
  }
}

TEST_F(SimController, ReportsInformationUntilTheClose) {
  Build();
  Mode(SIM_MODE_INFO, 0);
  TSimReport first = Answer(0);
  EXPECT_EQ(code_of(first), SIM_RESP_INFO);
  EXPECT_EQ(first[2], 0x03) << "shipped ladder and running";
  EXPECT_TRUE(Drain(49).empty());
  EXPECT_EQ(Drain(50).size(), 1u);
  EXPECT_EQ(Drain(160).size(), 2u) << "one report each 50 ms";

  // Other commands leave the controller in diagnostic mode.
  Mode(SIM_MODE_STOP, 170);
  EXPECT_EQ(Drain(170).size(), 1u);
  std::vector<TSimReport> stopped = Drain(250);
  ASSERT_EQ(stopped.size(), 2u);
  EXPECT_EQ(code_of(stopped[0]), SIM_RESP_INFO);
  EXPECT_EQ(stopped[0][2] & 0x02, 0) << "no longer running";

  Mode(SIM_MODE_CLOSE, 260);
  TSimReport closed = Answer(260);
  EXPECT_EQ(code_of(closed), SIM_RESP_OK);
  EXPECT_EQ(word_of(closed), SIM_MODE_CLOSE);
  EXPECT_TRUE(Drain(5000).empty()) << "silent after closing";
}

TEST_F(SimController, ReportsFromPowerOnWhenSetSo) {
  Build([](TSimConfig& c) { c.reporting = true; });
  EXPECT_EQ(code_of(Answer(50)), SIM_RESP_INFO);
}

// The reports come in the order they fell due: an information report due
// before a packet goes ahead of its answer, and information reports fall
// between the busy reports of a block and ahead of the erase's confirmation.
TEST_F(SimController, InformationComesAtAnyMoment) {
  Build([](TSimConfig& c) { c.reportMs = 5; });
  Mode(SIM_MODE_INFO, 0);
  Drain(0);
  Mode(SIM_MODE_STOP, 12);
  std::vector<TSimReport> reports = Drain(12);
  ASSERT_EQ(reports.size(), 3u) << "those due at 5 and 10, then the answer";
  EXPECT_EQ(code_of(reports[0]), SIM_RESP_INFO);
  EXPECT_EQ(code_of(reports[1]), SIM_RESP_INFO);
  EXPECT_EQ(code_of(reports[2]), SIM_RESP_OK);

  Block(0, TBytes(128, 0x42), 13);
  // Read late: the order is still the one in which they fell due.
  reports = Drain(40);
  std::string codes;
  for (const TSimReport& r : reports) codes += std::to_string(code_of(r)) + " ";
  // The three acknowledgements; busy every 2 ms from 15 to 31, information
  // at 15 (ahead of the busy report due then), 20, 25 (ahead again) and 30;
  // the verdict at 33, when the 20 ms busy time ends; information at 35, 40.
  EXPECT_EQ(codes, "20 20 20 23 21 21 21 23 21 21 23 21 21 21 23 21 20 23 23 ");

  Mode(SIM_MODE_ERASE, 41);
  reports = Drain(80);
  codes.clear();
  for (const TSimReport& r : reports) codes += std::to_string(code_of(r)) + " ";
  EXPECT_EQ(codes, "21 23 23 23 23 23 23 20 23 23 ") << "confirmed at 71";
}

// A host that reads nothing for a long while: hidraw keeps the oldest
// unread reports, so the block's verdict stays among them; a queue that drops
// its oldest has lost it to the information reports.
TEST_F(SimController, AFullQueueKeepsWhatItsPlatformKeeps) {
  for (TSimFullQueue policy : {TSimFullQueue::TakesNoMore, TSimFullQueue::DropsOldest}) {
    const bool keepsOldest = policy == TSimFullQueue::TakesNoMore;
    SCOPED_TRACE(keepsOldest ? "takes no more" : "drops the oldest");
    Build([policy](TSimConfig& c) {
      c.fullQueue = policy;
      c.reportMs = 2;
      c.running = false;
    });
    Mode(SIM_MODE_INFO, 0);
    Drain(0);
    Block(0, TBytes(128, 0x42), 1);
    const std::vector<TSimReport> reports = Drain(1000);
    EXPECT_EQ(reports.size(), 64u);
    const auto accepted = std::count_if(reports.begin(), reports.end(), [](const TSimReport& r) {
      return code_of(r) == SIM_RESP_OK && word_of(r) == 0;
    });
    EXPECT_EQ(accepted, keepsOldest ? 4 : 0) << "the three acknowledgements and the verdict";
  }
}

TEST_F(SimController, ChattyControllerReportsEvery10msAndNeverFallsSilent) {
  Build([](TSimConfig& c) {
    c.faults.chatty = true;
    c.reportMs = 10;
  });
  Mode(SIM_MODE_INFO, 0);
  Drain(0);
  Mode(SIM_MODE_CLOSE, 5);
  EXPECT_EQ(Drain(5).size(), 1u);
  EXPECT_EQ(Drain(100).size(), 10u);
}

TEST_F(SimController, StopsAndTellsWhy) {
  Build();
  Mode(SIM_MODE_STOP, 0);
  TSimReport answer = Answer(0);
  EXPECT_EQ(code_of(answer), SIM_RESP_OK);
  EXPECT_EQ(word_of(answer), SIM_MODE_STOP);
  EXPECT_FALSE(controller->Running());
  Mode(SIM_MODE_INFO, 1);
  TSimReport status = Answer(1);
  EXPECT_EQ(status[2] & 0x02, 0) << "not running";
  EXPECT_EQ(status[12], 13) << "stopped by diagnostic request";
}

TEST_F(SimController, ErasesOnlyWhenStoppedAndConfirmsLater) {
  Build();
  Mode(SIM_MODE_ERASE, 0);
  EXPECT_EQ(code_of(Answer(0)), SIM_RESP_ERROR) << "running";

  Stop(1);
  Mode(SIM_MODE_ERASE, 2);
  TSimReport accepted = Answer(2);
  EXPECT_EQ(code_of(accepted), SIM_RESP_BUSY);
  EXPECT_EQ(word_of(accepted), SIM_MODE_ERASE);
  EXPECT_TRUE(Drain(31).empty());
  TSimReport confirmed = Answer(32);
  EXPECT_EQ(code_of(confirmed), SIM_RESP_OK);
  EXPECT_EQ(word_of(confirmed), 45u);
}

TEST_F(SimController, StoresALoadBlockAfterABusyTime) {
  Build();
  Stop(0);
  TBytes data(128);
  for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t(i + 1);
  Block(0x100, data, 10);
  std::vector<TSimReport> acks = Drain(10);
  ASSERT_EQ(acks.size(), 3u);
  for (const TSimReport& ack : acks) EXPECT_EQ(code_of(ack), SIM_RESP_OK);
  std::vector<TSimReport> waiting = Drain(29);
  ASSERT_FALSE(waiting.empty());
  for (const TSimReport& r : waiting) EXPECT_EQ(code_of(r), SIM_RESP_BUSY);
  EXPECT_EQ(code_of(Answer(30)), SIM_RESP_OK);
  EXPECT_EQ(TBytes(controller->Flash().begin() + 0x100, controller->Flash().begin() + 0x180), data);
  EXPECT_EQ(controller->Flash()[0xFF], 0xFF);
  EXPECT_EQ(controller->Flash()[0x180], 0xFF);
}

TEST_F(SimController, RefusesBlocksItCannotStore) {
  const struct {
    const char* what;
    bool stop;
    uint32_t address;
    unsigned failingBlock;
  } cases[] = {
      {"running", false, 0, 0},
      {"past the end of flash", true, SIM_FLASH_SIZE - 127, 0},
      {"block chosen to fail", true, 0, 1},
  };
  for (const auto& c : cases) {
    Build([&](TSimConfig& config) {
      if (c.failingBlock) config.faults.blockErrors.insert(c.failingBlock);
    });
    if (c.stop) Stop(0);
    Block(c.address, TBytes(128, 0x55), 1);
    std::vector<TSimReport> reports = Drain(100);
    ASSERT_FALSE(reports.empty()) << c.what;
    EXPECT_EQ(code_of(reports.back()), SIM_RESP_ERROR) << c.what;
  }
}

TEST_F(SimController, EndlessBusyAfterABlock) {
  Build([](TSimConfig& c) { c.faults.busyForever = true; });
  Stop(0);
  Block(0, TBytes(128, 0), 1);
  Drain(1);
  std::vector<TSimReport> later = Drain(10000);
  ASSERT_FALSE(later.empty());
  for (const TSimReport& r : later) EXPECT_EQ(code_of(r), SIM_RESP_BUSY);
}

TEST_F(SimController, StartsOnlyAVerifiedImage) {
  const TBytes image = standin_valid_image();
  const struct {
    const char* what;
    int corrupt;  // byte changed, -1 for none
    unsigned answer;
    unsigned word;
  } cases[] = {{"valid", -1, SIM_RESP_OK, 46}, {"one byte changed", 40, SIM_RESP_ERROR, 2}};
  for (const auto& c : cases) {
    Build();
    Stop(0);
    TBytes loaded = image;
    if (c.corrupt >= 0) loaded[c.corrupt] ^= 1;
    Block(0, TBytes(loaded.begin(), loaded.begin() + 128), 1);
    Block(128, TBytes(loaded.begin() + 128, loaded.end()), 100);
    Drain(500);
    Mode(SIM_MODE_START, 600);
    TSimReport answer = Answer(600);
    EXPECT_EQ(code_of(answer), c.answer) << c.what;
    EXPECT_EQ(word_of(answer), c.word) << c.what;
    EXPECT_EQ(controller->Running(), c.answer == SIM_RESP_OK) << c.what;
  }
}

TEST_F(SimController, ErasedControllerRefusesToStart) {
  Build();
  Mode(SIM_MODE_START, 0);
  TSimReport answer = Answer(0);
  EXPECT_EQ(code_of(answer), SIM_RESP_ERROR);
  EXPECT_EQ(controller->StopReason(), 3u);
}

TEST_F(SimController, ReportFaults) {
  const struct {
    const char* what;
    void (*set)(TSimFaults&);
    std::vector<std::pair<size_t, uint8_t>> reports;  // size and report id, in order
  } cases[] = {
      {"silent", [](TSimFaults& f) { f.silent = true; }, {}},
      {"short report first", [](TSimFaults& f) { f.shortReport = true; }, {{63, 2}, {64, 2}}},
      {"short reports only", [](TSimFaults& f) { f.shortOnly = true; }, {{63, 2}}},
      {"foreign report after", [](TSimFaults& f) { f.foreign = true; }, {{64, 2}, {64, 3}}},
  };
  for (const auto& c : cases) {
    Build([&](TSimConfig& config) { c.set(config.faults); });
    Mode(SIM_MODE_STOP, 0);
    std::vector<TSimReport> reports = Drain(0);
    ASSERT_EQ(reports.size(), c.reports.size()) << c.what;
    for (size_t i = 0; i < reports.size(); ++i) {
      EXPECT_EQ(reports[i].size(), c.reports[i].first) << c.what;
      EXPECT_EQ(reports[i][0], c.reports[i].second) << c.what;
    }
  }
}

TEST_F(SimController, RefusedAndMisconfirmedCommands) {
  const struct {
    const char* command;
    unsigned mode;
    bool refuse;
    unsigned code;
    unsigned word;
  } cases[] = {
      {"stop", SIM_MODE_STOP, true, SIM_RESP_ERROR, SIM_MODE_STOP},
      {"stop", SIM_MODE_STOP, false, SIM_RESP_OK, 0},
      {"erase", SIM_MODE_ERASE, false, SIM_RESP_OK, SIM_MODE_ERASE},
      {"start", SIM_MODE_START, false, SIM_RESP_ERROR, 3},  // the image check comes first
      {"info", SIM_MODE_INFO, false, SIM_RESP_OK, SIM_MODE_INFO},
      {"close", SIM_MODE_CLOSE, true, SIM_RESP_ERROR, SIM_MODE_CLOSE},
  };
  for (const auto& c : cases) {
    Build([&](TSimConfig& config) {
      (c.refuse ? config.faults.refuse : config.faults.misconfirm).insert(c.command);
      config.running = c.mode != SIM_MODE_ERASE;
    });
    Mode(c.mode, 0);
    TSimReport answer = Answer(0);
    EXPECT_EQ(code_of(answer), c.code) << c.command;
    EXPECT_EQ(word_of(answer), c.word) << c.command;
  }
}

TEST_F(SimController, ReportsSentWhileClosedAreLost) {
  Build();
  Mode(SIM_MODE_STOP, 0);
  controller->Connected(1);
  EXPECT_TRUE(Drain(1).empty());
}

}  // namespace
