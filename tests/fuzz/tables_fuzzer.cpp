// Loads arbitrary INI files as circuit tables, applies rows, including
// rows the tables do not hold, and dumps them. After a load each table holds
// exactly ten cells a name; an applied row is what the machine then holds.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include "P_C_Table.h"
#include "fuzz_input.h"
#include "fuzz_support.h"
#include "virtmachine.h"

namespace {

// The reader keeps the file it read last until its size or times change;
// inputs of one size written within one tick of the clock would look alike.
// Two names taken in turn: each input is read afresh.
std::string tablePaths[2];
unsigned inputs = 0;

std::string cellKey(const char* name, int row) {
  char key[64];
  snprintf(key, sizeof key, "%s_%02d", name, row);
  return key;
}

template <size_t N>
void checkLoaded(const TCircuitTable& table, const char* const (&names)[N]) {
  for (const char* name : names)
    for (int row = 1; row <= PCT_ROWS; ++row)
      if (table.count(cellKey(name, row)) != 1) fuzz_fail("a loaded table holds rows 1 to 10 of every name");
}

template <size_t NI, size_t NB>
void checkApplied(short row, const char* const (&ints)[NI], const TCircuitTable& intCells,
                  const char* const (&bits)[NB], const TCircuitTable& bitCells) {
  const int applied = row == 0 ? 1 : row;
  for (const char* name : ints)
    if (sim_integers.at(name) != intCells.at(cellKey(name, applied))) fuzz_fail("the row's integers are applied");
  for (const char* name : bits)
    if (sim_relays.at(name) != (bitCells.at(cellKey(name, applied)) > 0)) fuzz_fail("the row's bits are applied");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_silenceStdout();
  tablePaths[0] = fuzz_tempPath("tables-a.ini");
  tablePaths[1] = fuzz_tempPath("tables-b.ini");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The file is the input as it stands, but for its last byte and as many
  // bytes before it as that byte says: those say what to do with the tables.
  const size_t opsLength = size == 0 ? 0 : std::min<size_t>(data[size - 1], size - 1);
  const size_t fileLength = size == 0 ? 0 : size - 1 - opsLength;
  const std::string file(reinterpret_cast<const char*>(data), fileLength);
  TFuzzInput in(data + fileLength, opsLength);
  const std::string& tablePath = tablePaths[inputs++ % 2];
  FILE* out = fopen(tablePath.c_str(), "wb");
  if (!out || fwrite(file.data(), 1, file.size(), out) != file.size() || fclose(out) != 0)
    fuzz_fail("writing the file");

  sim_integers.clear();
  sim_relays.clear();
  for (TCircuitTable* table : {&cycleTable_int, &cycleTable_bit, &periodTable_int, &periodTable_bit}) table->clear();
  selectedRowCycleTable = selectedRowPeriodTable = 0;

  if (!pct_loadCircuitTable(tablePath.c_str())) fuzz_fail("a file by name is loaded");
  checkLoaded(cycleTable_int, C_parameters_int);
  checkLoaded(cycleTable_bit, C_parameters_bit);
  checkLoaded(periodTable_int, P_parameters_int);
  checkLoaded(periodTable_bit, P_parameters_bit);

  while (!in.empty()) {
    const short row = static_cast<short>(in.flag() ? static_cast<int>(in.below(14)) - 1 : in.u16());
    switch (in.below(4)) {
      case 0:
        if (pct_selectCycleTableRow(row) != (row <= PCT_ROWS)) fuzz_fail("rows above 10 are refused");
        if (row <= PCT_ROWS) checkApplied(row, C_parameters_int, cycleTable_int, C_parameters_bit, cycleTable_bit);
        break;
      case 1:
        if (pct_selectPeriodTableRow(row) != (row <= PCT_ROWS)) fuzz_fail("rows above 10 are refused");
        if (row <= PCT_ROWS) checkApplied(row, P_parameters_int, periodTable_int, P_parameters_bit, periodTable_bit);
        break;
      case 2: pct_dumpCircuitTable(); break;
      default:
        // As a cycle start does: the row chosen by "_Period_Number".
        sim_integers["_Period_Number"] = row;
        sim_startCycle(0, "");
        break;
    }
  }
  return 0;
}
