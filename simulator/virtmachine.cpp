#include "virtmachine.h"

#include <cstdint>
#include <cstdio>

#include "P_C_Table.h"
#include "hooks.h"

TSimIntegers sim_integers;
TSimRelays sim_relays;

namespace {

FILETIME simulationDateTime;

const uint64_t simulatedTicksPerCycle = 890000000;  // 89 seconds in 100 ns units
const char* const periodNumber = "_Period_Number";

void printLine(const char* prefix, const std::string& name) {
  printf("%s%s\n", prefix, name.c_str());
  fflush(stdout);
}

void trace(const char* operation, const char* name) {
  printf("%s '%s'\n", operation, name);
  fflush(stdout);
}

// Missing, the row selector is added as 0.
void applyTableRows() {
  pct_selectCycleTableRow(sim_integers[periodNumber]);
  pct_selectPeriodTableRow(sim_integers[periodNumber]);
}

template <typename TMap, typename TValue>
bool readValue(const char* operation, TMap& map, const char* name, TValue* out) {
  trace(operation, name ? name : "");
  auto found = name ? map.find(name) : map.end();
  if (found == map.end()) return false;
  if (out) *out = found->second;
  return true;
}

template <typename TMap, typename TValue>
bool writeValue(const char* operation, TMap& map, const char* name, TValue value) {
  trace(operation, name ? name : "");
  auto found = name ? map.find(name) : map.end();
  if (found == map.end()) return false;
  found->second = value;
  return true;
}

}  // namespace

void simDateTimeToIntegers() {
  SYSTEMTIME time{};
  FileTimeToSystemTime(&simulationDateTime, &time);
  sim_integers["cal_Year"] = static_cast<short>(time.wYear);
  sim_integers["cal_Month"] = static_cast<short>(time.wMonth);
  sim_integers["cal_Day"] = static_cast<short>(time.wDay);
  sim_integers["cal_Hour"] = static_cast<short>(time.wHour);
  sim_integers["cal_Minute"] = static_cast<short>(time.wMinute);
  sim_integers["cal_Second"] = static_cast<short>(time.wSecond);
  sim_integers["cal_DOW"] = static_cast<short>(time.wDayOfWeek + 1);
}

void sim_initControls(HWND window, HINSTANCE instance) {
  SYSTEMTIME now{};
  GetSystemTime(&now);
  SystemTimeToFileTime(&now, &simulationDateTime);
  simDateTimeToIntegers();
  applyTableRows();

  printLine("", "Simulated integers:");
  for (const auto& entry : sim_integers) printLine(" ", entry.first);
  printLine("", "Simulated bits:");
  for (const auto& entry : sim_relays) printLine(" ", entry.first);

  const DWORD buttonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
  CreateWindowExA(0, "Button", "Open table", buttonStyle, 10, 40, 250, 50, window,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(SIM_ID_OPEN_TABLE)), instance, nullptr);
  CreateWindowExA(0, "Button", "Dump cycle table", buttonStyle, 10, 100, 350, 50, window,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(SIM_ID_DUMP_TABLE)), instance, nullptr);
}

void sim_userInteraction(HWND, unsigned short id, unsigned short code) {
  if (code != BN_CLICKED) return;
  if (id == SIM_ID_OPEN_TABLE) pct_loadCircuitTable(nullptr);
  if (id == SIM_ID_DUMP_TABLE) pct_dumpCircuitTable();
}

void sim_startCycle(short, const char*) { applyTableRows(); }

void sim_endCycle(bool) {
  uint64_t ticks = (uint64_t(simulationDateTime.dwHighDateTime) << 32) | simulationDateTime.dwLowDateTime;
  ticks += simulatedTicksPerCycle;
  simulationDateTime.dwLowDateTime = static_cast<DWORD>(ticks);
  simulationDateTime.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  simDateTimeToIntegers();
  fflush(stdout);
}

bool sim_setBit(const char* name, bool value) { return writeValue("sim_setBit", sim_relays, name, value); }
bool sim_getBit(const char* name, bool* out) { return readValue("sim_getBit", sim_relays, name, out); }
bool sim_setInt(const char* name, short value) { return writeValue("sim_setInt", sim_integers, name, value); }
bool sim_getInt(const char* name, short* out) { return readValue("sim_getInt", sim_integers, name, out); }

const TSimHooks sim_machineHooks = {
    sim_initControls, sim_userInteraction,
    nullptr,  // destroyControls
    nullptr,  // setMode
    sim_startCycle,   sim_endCycle,
    nullptr,  // simulationEntered
    sim_setBit,       sim_getBit,          sim_setInt, sim_getInt,
    nullptr,  // readADC
    nullptr,  // setPWM
};
