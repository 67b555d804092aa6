// The awkward files through the panel's loader: every cell reads what
// Windows' reader makes of it. Built on both platforms: on Windows it holds
// the expectations against the real reader.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "P_C_Table.h"
#include "awkward_tables.h"
#include "temp_dir.h"

TEST(TAwkwardTables, EveryFileGivesItsCellsAndZeroElsewhere) {
  testkit::TTempDir dir;
  for (const TAwkwardTable& table : sim_awkwardTables()) {
    ASSERT_TRUE(pct_loadCircuitTable(dir.Write(std::string(table.name) + ".ini", table.bytes).c_str())) << table.name;
    const std::map<std::string, short> expected(table.cells.begin(), table.cells.end());
    size_t cells = 0;
    for (const TCircuitTable* loaded : {&cycleTable_int, &cycleTable_bit, &periodTable_int, &periodTable_bit}) {
      for (const auto& cell : *loaded) {
        const auto found = expected.find(cell.first);
        EXPECT_EQ(cell.second, found == expected.end() ? 0 : found->second) << table.name << ": " << cell.first;
      }
      cells += loaded->size();
    }
    EXPECT_EQ(cells, 320u) << table.name;
  }
}
