#include <gtest/gtest.h>

#include <vector>

#include "machine_fixture.h"
#include "start_names.h"

namespace {

struct TCalendar {
  short year, month, day, hour, minute, second, dayOfWeek;
};

TCalendar calendar() {
  return {sim_integers.at("cal_Year"), sim_integers.at("cal_Month"),  sim_integers.at("cal_Day"),
          sim_integers.at("cal_Hour"), sim_integers.at("cal_Minute"), sim_integers.at("cal_Second"),
          sim_integers.at("cal_DOW")};
}

void expectCalendar(const TCalendar& expected) {
  const TCalendar actual = calendar();
  EXPECT_EQ(actual.year, expected.year);
  EXPECT_EQ(actual.month, expected.month);
  EXPECT_EQ(actual.day, expected.day);
  EXPECT_EQ(actual.hour, expected.hour);
  EXPECT_EQ(actual.minute, expected.minute);
  EXPECT_EQ(actual.second, expected.second);
  EXPECT_EQ(actual.dayOfWeek, expected.dayOfWeek);
}

template <typename TMap>
std::vector<std::string> namesOf(const TMap& map) {
  std::vector<std::string> names;
  for (const auto& entry : map) names.push_back(entry.first);
  return names;
}

}  // namespace

TEST_F(TMachineTest, StartHoldsExactlyTheListedNamesWithTableRowOneApplied) {
  const std::string printed = startMachine();

  EXPECT_EQ(namesOf(sim_integers), sim_startIntegers());
  EXPECT_EQ(namesOf(sim_relays), sim_startBits());
  for (const auto& bit : sim_relays) EXPECT_FALSE(bit.second) << bit.first;
  for (const char* name : {"_C_Time", "_P_Temp_E", "_Period_Number"}) EXPECT_EQ(sim_integers.at(name), 0) << name;
  expectCalendar({2026, 3, 1, 14, 30, 15, 1});  // a Sunday is day 1

  EXPECT_EQ(printed, sim_startListing());
}

TEST_F(TMachineTest, GettersAndSettersTraceEveryCallAndAddNoName) {
  startMachine();
  struct TCase {
    const char* call;
    const char* name;
    bool held;
  };
  const TCase cases[] = {
      {"sim_setInt", "_C_Time", true},   {"sim_getInt", "_C_Time", true},  {"sim_setInt", "no_such", false},
      {"sim_getInt", "no_such", false},  {"sim_setBit", "R_C_Rain", true}, {"sim_getBit", "R_C_Rain", true},
      {"sim_setBit", "r_c_rain", false}, {"sim_getBit", "_C_Time", false},
  };
  for (const TCase& c : cases) {
    testkit::TStdoutCapture output;
    const std::string call = c.call;
    short number = 77;
    bool bit = true;
    bool result = false;
    if (call == "sim_setInt") result = sim_setInt(c.name, -5);
    if (call == "sim_getInt") result = sim_getInt(c.name, &number);
    if (call == "sim_setBit") result = sim_setBit(c.name, true);
    if (call == "sim_getBit") result = sim_getBit(c.name, &bit);
    EXPECT_EQ(result, c.held) << call << " " << c.name;
    EXPECT_EQ(output.Text(), call + " '" + c.name + "'\n");
    if (call == "sim_getInt") {
      EXPECT_EQ(number, c.held ? -5 : 77) << "untouched when missing";
    }
    if (call == "sim_getBit") {
      EXPECT_TRUE(bit);
    }
  }
  EXPECT_EQ(namesOf(sim_integers), sim_startIntegers());
  EXPECT_EQ(namesOf(sim_relays), sim_startBits());
}

TEST_F(TMachineTest, CalendarMovesEightyNineSecondsPerCycleEnd) {
  startMachine();
  {
    testkit::TStdoutCapture quiet;
    for (int i = 0; i < 40; ++i) sim_endCycle(i % 2 == 0);
  }
  expectCalendar({2026, 3, 1, 15, 29, 35, 1});  // 3560 s, 59 min 20 s later
}

TEST_F(TMachineTest, CycleEndCrossesIntoTheNextYear) {
  clock() = SYSTEMTIME{2025, 12, 3, 31, 23, 59, 30, 0};
  startMachine();
  sim_endCycle(false);
  expectCalendar({2026, 1, 1, 0, 0, 59, 5});  // 1 January 2026 is a Thursday
}

TEST_F(TMachineTest, CalendarIntegerWrittenByTheClientHoldsUntilTheNextCycleEnd) {
  startMachine();
  testkit::TStdoutCapture quiet;
  short minute = 0;
  ASSERT_TRUE(sim_setInt("cal_Minute", 99));
  sim_startCycle(0, "");
  ASSERT_TRUE(sim_getInt("cal_Minute", &minute));
  EXPECT_EQ(minute, 99);
  sim_endCycle(true);
  ASSERT_TRUE(sim_getInt("cal_Minute", &minute));
  EXPECT_EQ(minute, 31);
}

TEST_F(TMachineTest, CycleStartAppliesTheRowChosenByPeriodNumber) {
  const std::string file = tableFile("_C_Time_03=300\nR_C_Rain_03=1\n_P_Temp_E_03=-4\nR_P_Monday_E_03=1\n");
  startMachine();
  ASSERT_TRUE(loadTables(file));
  EXPECT_EQ(sim_integers.at("_C_Time"), 0) << "loading alone changes no value";

  struct TCase {
    short periodNumber;
    short cycleTime;
    bool rain;
  };
  // 11 is refused and leaves the values of the row before; -1 is a row
  // that no file holds.
  const TCase cases[] = {{3, 300, true}, {11, 300, true}, {0, 0, false}, {3, 300, true}, {-1, 0, false}};
  for (const TCase& c : cases) {
    testkit::TStdoutCapture quiet;
    sim_integers["_Period_Number"] = c.periodNumber;
    sim_startCycle(0, nullptr);
    EXPECT_EQ(sim_integers.at("_C_Time"), c.cycleTime) << "row " << c.periodNumber;
    EXPECT_EQ(sim_relays.at("R_C_Rain"), c.rain) << "row " << c.periodNumber;
    EXPECT_EQ(sim_integers.at("_P_Temp_E"), c.rain ? -4 : 0) << "row " << c.periodNumber;
    EXPECT_EQ(sim_relays.at("R_P_Monday_E"), c.rain) << "row " << c.periodNumber;
  }
  EXPECT_EQ(namesOf(sim_integers), sim_startIntegers());
  EXPECT_EQ(namesOf(sim_relays), sim_startBits());
}

TEST_F(TMachineTest, ButtonClicksActOnlyOnClickNotifications) {
  startMachine();
  struct TCase {
    unsigned short id;
    unsigned short code;
    bool dumps;
  };
  const TCase cases[] = {{SIM_ID_DUMP_TABLE, BN_CLICKED, true},
                         {SIM_ID_DUMP_TABLE, 1, false},
                         {4, BN_CLICKED, false},
                         {SIM_ID_OPEN_TABLE, 5, false}};
  for (const TCase& c : cases) {
    testkit::TStdoutCapture output;
    sim_userInteraction(nullptr, c.id, c.code);
    EXPECT_EQ(countOf(output.Text(), "*****Circuit tables dump  end*****"), c.dumps ? 1u : 0u) << c.id << "/" << c.code;
  }
}

TEST_F(TMachineTest, OpenTableWhoseDialogFailsKeepsTheTables) {
  startMachine();
  ASSERT_TRUE(loadTables(tableFile("_C_Time_01=12\n")));
  sim_userInteraction(nullptr, SIM_ID_OPEN_TABLE, BN_CLICKED);  // no display here: the dialog fails
  EXPECT_EQ(cycleTable_int.at("_C_Time_01"), 12);
  EXPECT_EQ(cycleTable_int.size(), 10u);
}
