#pragma once
// The circuit tables: a cycle table and a period table of up to 10 numbered
// rows of named integers and bits, loaded from an INI file; at every cycle
// start one row of each is copied into the simulated machine.
#include <map>
#include <string>

// Cell key "<name>_<row as %02d>" to the raw 16-bit value, in byte order.
using TCircuitTable = std::map<std::string, short>;

extern TCircuitTable cycleTable_int;
extern TCircuitTable cycleTable_bit;
extern TCircuitTable periodTable_int;
extern TCircuitTable periodTable_bit;
extern int selectedRowCycleTable;
extern int selectedRowPeriodTable;

extern const char* const C_parameters_int[1];
extern const char* const C_parameters_bit[17];
extern const char* const P_parameters_int[7];
extern const char* const P_parameters_bit[7];

#define PCT_SECTION "sim_Halden_circuit_tables"
const int PCT_ROWS = 10;
const unsigned PCT_MAX_PATH = 499;

// Loads all four tables from `path`, or from the file the user picks when
// `path` is NULL. False, with the tables untouched, when the dialog is
// cancelled or the path is longer than PCT_MAX_PATH.
bool pct_loadCircuitTable(const char* path);

// Copy one row into the machine's integers and bits; row 0 copies row 1.
// False, changing nothing, when `row` is above 10.
bool pct_selectCycleTableRow(short row);
bool pct_selectPeriodTableRow(short row);

// Prints the selected rows and the four tables on standard output.
void pct_dumpCircuitTable();

void pct_readParamTableRow(const char* file, int row, const char* const* names, int count, TCircuitTable& table);
