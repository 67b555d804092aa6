#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include "machine_fixture.h"

namespace {

const char* const dumpBeforeAnyLoad =
    "\n*****Circuit tables dump  start*****\n"
    " Selected Cycle Table row=0\n Selected Period Table row=0\n CycleTable bits:\n"
    "\tR_C_C10_E_01=0\n\tR_C_C1_E_01=0\n\tR_C_C2_E_01=0\n\tR_C_C3_E_01=0\n\tR_C_C4_E_01=0\n\tR_C_C5_E_01=0\n"
    "\tR_C_C6_E_01=0\n\tR_C_C7_E_01=0\n\tR_C_C8_E_01=0\n\tR_C_C9_E_01=0\n\tR_C_Cont_01=0\n\tR_C_Drop_01=0\n"
    "\tR_C_Flow_01=0\n\tR_C_Freez_01=0\n\tR_C_Mvalve_01=0\n\tR_C_Rain_01=0\n\tR_C_Wbudget_01=0\n"
    "\n CycleTable ints:\n"
    "\t_C_Time_01=0\n"
    "\n PeriodTable bits:\n"
    "\tR_P_Fryday_E_01=0\n\tR_P_Monday_E_01=0\n\tR_P_Saturday_E_01=0\n\tR_P_Sunday_E_01=0\n"
    "\tR_P_Thursday_E_01=0\n\tR_P_Tuesday_E_01=0\n\tR_P_Wednesday_E_01=0\n"
    "\n PeriodTable ints:\n"
    "\t_P_OFF_Day_01=0\n\t_P_OFF_Month_01=0\n\t_P_ON_Day_01=0\n\t_P_ON_Month_01=0\n\t_P_Start_Hour_01=0\n"
    "\t_P_Start_Min_01=0\n\t_P_Temp_E_01=0\n"
    "*****Circuit tables dump  end*****\n";

}  // namespace

TEST_F(TMachineTest, DumpBeforeAnyLoadListsTheRowOneCellsOfWindowCreation) {
  startMachine();
  EXPECT_EQ(dump(), dumpBeforeAnyLoad);
}

TEST_F(TMachineTest, LoadReadsEveryCellOfTenRowsAndOnlyThoseOfItsSection) {
  const std::string file = tableFile(
      "R_C_Rain_03=1\n_P_ON_Month_10=70000\n_C_Time_01=-12\n_C_Time_11=5\n"
      "[other]\n_C_Time_02=9\n");
  startMachine();
  ASSERT_TRUE(loadTables(file));
  EXPECT_EQ(cycleTable_int.size(), 10u);
  EXPECT_EQ(cycleTable_bit.size(), 170u);
  EXPECT_EQ(periodTable_int.size(), 70u);
  EXPECT_EQ(periodTable_bit.size(), 70u);
  EXPECT_EQ(cycleTable_bit.at("R_C_Rain_03"), 1);
  EXPECT_EQ(periodTable_int.at("_P_ON_Month_10"), 4464) << "the low 16 bits of 70000";
  EXPECT_EQ(cycleTable_int.at("_C_Time_01"), -12);
  EXPECT_EQ(cycleTable_int.at("_C_Time_02"), 0) << "another section does not count";
  EXPECT_EQ(cycleTable_int.count("_C_Time_11"), 0u) << "row 11 is never read";
}

TEST_F(TMachineTest, RowThreeOfAFileWithOneCell) {
  startMachine();
  ASSERT_TRUE(loadTables(tableFile("R_C_Rain_03=1\n")));
  ASSERT_TRUE(pct_selectCycleTableRow(3));
  ASSERT_TRUE(pct_selectPeriodTableRow(3));
  for (const auto& bit : sim_relays) EXPECT_EQ(bit.second, bit.first == "R_C_Rain") << bit.first;
  for (const char* name : C_parameters_int) EXPECT_EQ(sim_integers.at(name), 0) << name;
  for (const char* name : P_parameters_int) EXPECT_EQ(sim_integers.at(name), 0) << name;
}

TEST_F(TMachineTest, BitCellsApplyAsTrueOnlyAboveZeroAndDumpTheirStoredValues) {
  startMachine();
  ASSERT_TRUE(loadTables(tableFile("R_C_Rain_02=-1\nR_C_Flow_02=2\nR_C_Drop_02=1\n")));
  ASSERT_TRUE(pct_selectCycleTableRow(2));
  EXPECT_FALSE(sim_relays.at("R_C_Rain"));
  EXPECT_TRUE(sim_relays.at("R_C_Flow"));
  EXPECT_TRUE(sim_relays.at("R_C_Drop"));
  const std::string text = dump();
  EXPECT_NE(text.find("\tR_C_Rain_02=-1\n"), std::string::npos);
  EXPECT_NE(text.find("\tR_C_Flow_02=2\n"), std::string::npos);
  EXPECT_LT(text.find("R_C_C10_E_10="), text.find("R_C_C1_E_01=")) << "cells are listed in byte order";
}

TEST_F(TMachineTest, SelectedRowsShownByTheDump) {
  startMachine();
  ASSERT_TRUE(loadTables(tableFile("_C_Time_01=11\n_C_Time_05=55\n")));
  struct TStep {
    short row;
    bool accepted;
    const char* shownRow;
    short cycleTime;
  };
  const TStep steps[] = {
      {5, true, "5\n", 55},      {11, false, "5\n", 55},  // refused: nothing changes
      {0, true, "0\n", 11},                               // row 0 applies row 1
      {-3, true, "-3\n", 0},                              // a row no file holds
      {32767, false, "-3\n", 0},
  };
  for (const TStep& step : steps) {
    EXPECT_EQ(pct_selectCycleTableRow(step.row), step.accepted) << step.row;
    EXPECT_EQ(sim_integers.at("_C_Time"), step.cycleTime) << step.row;
    const std::string text = dump();
    EXPECT_NE(text.find(std::string(" Selected Cycle Table row=") + step.shownRow), std::string::npos) << text;
  }
  EXPECT_EQ(cycleTable_int.at("_C_Time_-3"), 0) << "the negative row's cells are added";
  EXPECT_NE(dump().find("\t_C_Time_-3=0\n"), std::string::npos);
}

TEST_F(TMachineTest, MissingFileReadsAsZerosAndOverLongPathIsRefused) {
  startMachine();
  ASSERT_TRUE(loadTables(tableFile("_C_Time_04=4\n")));
  EXPECT_FALSE(loadTables("/" + std::string(PCT_MAX_PATH, 'x'))) << "a path of 500 characters";
  EXPECT_EQ(cycleTable_int.at("_C_Time_04"), 4) << "a refused load leaves the tables";

  ASSERT_TRUE(loadTables(dir.File("missing.ini")));
  EXPECT_EQ(cycleTable_int.at("_C_Time_04"), 0);
  EXPECT_EQ(cycleTable_int.size() + cycleTable_bit.size() + periodTable_int.size() + periodTable_bit.size(), 320u);
}

namespace {

// Counts the opens of one file, by whomever.
class TOpenCounter {
 public:
  explicit TOpenCounter(const std::string& path) : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    // inotify merges an event with the one before it when they are alike:
    // with the closes watched too, no two opens follow each other.
    watching_ = fd_ >= 0 && inotify_add_watch(fd_, path.c_str(), IN_OPEN | IN_CLOSE) >= 0;
  }
  ~TOpenCounter() {
    if (fd_ >= 0) close(fd_);
  }
  bool watching() const { return watching_; }
  // The opens since the last call.
  size_t opens() {
    size_t count = 0;
    alignas(inotify_event) char events[4096];
    for (ssize_t n; (n = read(fd_, events, sizeof(events))) > 0;)
      for (char* at = events; at < events + n; at += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(at)->len)
        if (reinterpret_cast<inotify_event*>(at)->mask & IN_OPEN) ++count;
    return count;
  }

 private:
  int fd_;
  bool watching_ = false;
};

}  // namespace

TEST_F(TMachineTest, LoadReadsTheFileOnceNotOnceACellAndAgainWhenItChanges) {
  const std::string file = tableFile("_C_Time_01=1\n" + std::string(100000, ';') + "\n");
  TOpenCounter counter(file);
  ASSERT_TRUE(counter.watching());
  ASSERT_TRUE(loadTables(file));
  EXPECT_EQ(counter.opens(), 1u) << "320 cells, one read";
  ASSERT_TRUE(loadTables(file));
  EXPECT_LE(counter.opens(), 1u);

  dir.Write("tables.ini", "[" PCT_SECTION "]\n_C_Time_01=2\n");
  counter.opens();
  ASSERT_TRUE(loadTables(file));
  EXPECT_EQ(counter.opens(), 1u);
  EXPECT_EQ(cycleTable_int.at("_C_Time_01"), 2) << "the file as it is now";
}

TEST_F(TMachineTest, FixtureFileOfTheEndToEndTestsLoads) {
  startMachine();
  ASSERT_TRUE(loadTables(SIM_FIXTURES_DIR "/tables.ini"));
  ASSERT_TRUE(pct_selectCycleTableRow(3));
  EXPECT_EQ(sim_integers.at("_C_Time"), 45);
  EXPECT_TRUE(sim_relays.at("R_C_Rain"));
}
