#pragma once
// Circuit-table files that trip up INI readers other than Windows' own:
// each one with the cells the panel reads from it as Windows reads it.
// Windows' reader under wine is the reference; our Linux layer must read
// every one of them alike (windows/compare_tables.sh).
#include <string>
#include <utility>
#include <vector>

struct TAwkwardTable {
  const char* name;  // also the file's name, before ".ini"
  std::string bytes;
  // The cells that read other than 0, with their values.
  std::vector<std::pair<std::string, short>> cells;
};

const std::vector<TAwkwardTable>& sim_awkwardTables();
