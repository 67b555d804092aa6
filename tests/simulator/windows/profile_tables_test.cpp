// Circuit tables read through Windows' own profile reader
// (GetPrivateProfileIntA), which looks for a bare file name in the Windows
// folder: the panel hands it the full path the dialog returns.
#include <gtest/gtest.h>

#include <windows.h>
#include <string>

#include "P_C_Table.h"
#include "virtmachine.h"
#include "windows_path.h"

namespace {

class TProfileTables : public ::testing::Test {
 protected:
  void SetUp() override {
    for (TCircuitTable* table : {&cycleTable_int, &cycleTable_bit, &periodTable_int, &periodTable_bit}) table->clear();
    sim_integers.clear();
    sim_relays.clear();
  }

  static size_t cellCount() {
    return cycleTable_int.size() + cycleTable_bit.size() + periodTable_int.size() + periodTable_bit.size();
  }

  const std::string fixtures = testkit::WindowsPath(SIM_FIXTURES_DIR);
};

}  // namespace

TEST_F(TProfileTables, FixtureLoadsByItsFullPathAndItsRowApplies) {
  ASSERT_TRUE(pct_loadCircuitTable((fixtures + "\\tables.ini").c_str()));
  EXPECT_EQ(cellCount(), 320u);
  struct TCell {
    const TCircuitTable& table;
    const char* key;
    short value;
  };
  const TCell cells[] = {
      {cycleTable_int, "_C_Time_01", 30},       {cycleTable_int, "_C_Time_03", 45},
      {cycleTable_int, "_C_Time_10", 4464},  // the low 16 bits of 70000
      {cycleTable_int, "_C_Time_02", 0},     // not in the file
      {cycleTable_bit, "R_C_Rain_03", 1},       {cycleTable_bit, "R_C_Freez_03", -1},
      {periodTable_int, "_P_Start_Min_03", 30}, {periodTable_bit, "R_P_Thursday_E_03", 2},
  };
  for (const TCell& cell : cells) EXPECT_EQ(cell.table.at(cell.key), cell.value) << cell.key;

  ASSERT_TRUE(pct_selectCycleTableRow(3));
  ASSERT_TRUE(pct_selectPeriodTableRow(3));
  EXPECT_EQ(sim_integers.at("_C_Time"), 45);
  EXPECT_EQ(sim_integers.at("_P_ON_Month"), 4);
  EXPECT_TRUE(sim_relays.at("R_C_Rain"));
  EXPECT_FALSE(sim_relays.at("R_C_Freez"));
  EXPECT_TRUE(sim_relays.at("R_P_Thursday_E"));
}

TEST_F(TProfileTables, FileThatIsNotThereLoadsAsZeros) {
  ASSERT_TRUE(pct_loadCircuitTable((fixtures + "\\no such tables.ini").c_str()));
  EXPECT_EQ(cellCount(), 320u);
  for (const TCircuitTable* table : {&cycleTable_int, &cycleTable_bit, &periodTable_int, &periodTable_bit})
    for (const auto& cell : *table) EXPECT_EQ(cell.second, 0) << cell.first;
}
