#pragma once
// A simulated machine started afresh for every test, on a clock the test sets.
#include <gtest/gtest.h>

#include <win32/clock_source.h>
#include <windows.h>
#include <cstdlib>
#include <string>

#include "P_C_Table.h"
#include "stdout_capture.h"
#include "temp_dir.h"
#include "test_support.h"
#include "virtmachine.h"

class TMachineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("DISPLAY");  // the file dialog then fails at once, as a cancelled one
    sim_integers.clear();
    sim_relays.clear();
    for (TCircuitTable* table : {&cycleTable_int, &cycleTable_bit, &periodTable_int, &periodTable_bit}) table->clear();
    selectedRowCycleTable = selectedRowPeriodTable = 0;
    clock() = SYSTEMTIME{2026, 3, 0, 1, 14, 30, 15, 250};  // Sunday 1 March 2026, 14:30:15.250 UTC
    w32_setClockSource([](LPSYSTEMTIME time) { *time = clock(); });
  }

  void TearDown() override { w32_setClockSource(nullptr); }

  static SYSTEMTIME& clock() {
    static SYSTEMTIME time;
    return time;
  }

  // Starts the machine as window creation does; returns what it printed.
  std::string startMachine() {
    testkit::TStdoutCapture output;
    sim_initControls(nullptr, nullptr);
    return output.Text();
  }

  std::string dump() {
    testkit::TStdoutCapture output;
    pct_dumpCircuitTable();
    return output.Text();
  }

  std::string tableFile(const std::string& entries) { return dir.Write("tables.ini", "[" PCT_SECTION "]\n" + entries); }

  bool loadTables(const std::string& path) {
    testkit::TStdoutCapture quiet;
    return pct_loadCircuitTable(path.c_str());
  }

  testkit::TTempDir dir;
};
