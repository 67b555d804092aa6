#include "P_C_Table.h"

#include <windows.h>
#include <cstdio>
#include <cstring>

#include "virtmachine.h"

TCircuitTable cycleTable_int;
TCircuitTable cycleTable_bit;
TCircuitTable periodTable_int;
TCircuitTable periodTable_bit;
int selectedRowCycleTable = 0;
int selectedRowPeriodTable = 0;

const char* const C_parameters_int[1] = {"_C_Time"};
const char* const C_parameters_bit[17] = {"R_C_C1_E",   "R_C_C2_E", "R_C_C3_E", "R_C_C4_E",    "R_C_C5_E", "R_C_C6_E",
                                          "R_C_C7_E",   "R_C_C8_E", "R_C_C9_E", "R_C_C10_E",   "R_C_Cont", "R_C_Drop",
                                          "R_C_Mvalve", "R_C_Flow", "R_C_Rain", "R_C_Wbudget", "R_C_Freez"};
const char* const P_parameters_int[7] = {"_P_ON_Month", "_P_ON_Day",     "_P_OFF_Month", "_P_OFF_Day",
                                         "_P_Temp_E",   "_P_Start_Hour", "_P_Start_Min"};
const char* const P_parameters_bit[7] = {"R_P_Monday_E", "R_P_Tuesday_E",  "R_P_Wednesday_E", "R_P_Thursday_E",
                                         "R_P_Fryday_E", "R_P_Saturday_E", "R_P_Sunday_E"};

namespace {

template <size_t N>
int countOf(const char* const (&)[N]) {
  return static_cast<int>(N);
}

std::string cellKey(const char* name, int row) {
  char key[64];
  snprintf(key, sizeof(key), "%s_%02d", name, row);
  return key;
}

struct TTableRows {
  const char* const* intNames;
  int intCount;
  TCircuitTable& ints;
  const char* const* bitNames;
  int bitCount;
  TCircuitTable& bits;
  int& selectedRow;
};

bool selectRow(const TTableRows& table, short row) {
  if (row > PCT_ROWS) return false;
  table.selectedRow = row;
  if (row == 0) row = 1;
  for (int i = 0; i < table.intCount; ++i)
    sim_integers[table.intNames[i]] = table.ints[cellKey(table.intNames[i], row)];
  for (int i = 0; i < table.bitCount; ++i)
    sim_relays[table.bitNames[i]] = table.bits[cellKey(table.bitNames[i], row)] > 0;
  return true;
}

const TTableRows cycleRows{C_parameters_int,     countOf(C_parameters_int), cycleTable_int,
                           C_parameters_bit,     countOf(C_parameters_bit), cycleTable_bit,
                           selectedRowCycleTable};
const TTableRows periodRows{P_parameters_int,      countOf(P_parameters_int), periodTable_int,
                            P_parameters_bit,      countOf(P_parameters_bit), periodTable_bit,
                            selectedRowPeriodTable};

bool chooseFile(char* fileName, DWORD size) {
  OPENFILENAMEA dialog;
  std::memset(&dialog, 0, sizeof(dialog));
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = nullptr;
  dialog.lpstrFilter = "All\0*.*\0TableFiles (*.ini)\0*.ini\0\0";
  dialog.nFilterIndex = 2;
  dialog.lpstrFile = fileName;
  dialog.nMaxFile = size;
  dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES | OFN_ENABLESIZING;
  return GetOpenFileNameA(&dialog) != 0;
}

void dumpCells(const TCircuitTable& table) {
  for (const auto& cell : table) printf("\t%s=%d\n", cell.first.c_str(), cell.second);
}

void printHighlighted(HANDLE console, WORD normal, const char* line) {
  SetConsoleTextAttribute(console, 14);
  printf("%s\n", line);
  fflush(stdout);
  SetConsoleTextAttribute(console, normal);
}

}  // namespace

void pct_readParamTableRow(const char* file, int row, const char* const* names, int count, TCircuitTable& table) {
  for (int i = 0; i < count; ++i)
    table[cellKey(names[i], row)] =
        static_cast<short>(GetPrivateProfileIntA(PCT_SECTION, cellKey(names[i], row).c_str(), 0, file));
}

bool pct_loadCircuitTable(const char* path) {
  char fileName[PCT_MAX_PATH + 1];
  std::memset(fileName, 0, sizeof(fileName));
  if (path) {
    if (std::strlen(path) > PCT_MAX_PATH) return false;  // another, shorter file must not be read in its place
    std::strcpy(fileName, path);
  } else if (!chooseFile(fileName, sizeof(fileName))) {
    return false;
  }
  cycleTable_int.clear();
  cycleTable_bit.clear();
  periodTable_int.clear();
  periodTable_bit.clear();
  for (int row = 1; row <= PCT_ROWS; ++row) {
    pct_readParamTableRow(fileName, row, C_parameters_int, countOf(C_parameters_int), cycleTable_int);
    pct_readParamTableRow(fileName, row, C_parameters_bit, countOf(C_parameters_bit), cycleTable_bit);
  }
  for (int row = 1; row <= PCT_ROWS; ++row) {
    pct_readParamTableRow(fileName, row, P_parameters_int, countOf(P_parameters_int), periodTable_int);
    pct_readParamTableRow(fileName, row, P_parameters_bit, countOf(P_parameters_bit), periodTable_bit);
  }
  return true;
}

bool pct_selectCycleTableRow(short row) { return selectRow(cycleRows, row); }

bool pct_selectPeriodTableRow(short row) { return selectRow(periodRows, row); }

void pct_dumpCircuitTable() {
  HANDLE console = GetStdHandle(STD_OUTPUT_HANDLE);
  CONSOLE_SCREEN_BUFFER_INFO info{};
  // A redirected output has no attributes to keep; grey on black is the default.
  if (!GetConsoleScreenBufferInfo(console, &info))
    info.wAttributes = FOREGROUND_RED | FOREGROUND_GREEN | FOREGROUND_BLUE;
  printHighlighted(console, info.wAttributes, "\n*****Circuit tables dump  start*****");
  printf(" Selected Cycle Table row=%d\n Selected Period Table row=%d\n CycleTable bits:\n", selectedRowCycleTable,
         selectedRowPeriodTable);
  dumpCells(cycleTable_bit);
  printf("\n CycleTable ints:\n");
  dumpCells(cycleTable_int);
  printf("\n PeriodTable bits:\n");
  dumpCells(periodTable_bit);
  printf("\n PeriodTable ints:\n");
  dumpCells(periodTable_int);
  fflush(stdout);
  printHighlighted(console, info.wAttributes, "*****Circuit tables dump  end*****");
  fflush(stdout);
}
