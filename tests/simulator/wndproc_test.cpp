#include <gtest/gtest.h>

#include <cstring>

#include "machine_fixture.h"
#include "simcopydata.h"
#include "wndproc.h"

namespace {

LRESULT sendRequest(ULONG_PTR command, const char* name, int16_t value, int32_t mode = 0) {
  tSIM_COPYDATA record;
  std::memset(&record, 0, sizeof(record));
  std::strncpy(record.name, name, sizeof(record.name) - 1);
  record.value = value;
  record.mode = mode;
  COPYDATASTRUCT data{command, sizeof(record), &record};
  testkit::TStdoutCapture quiet;
  return WndProc(nullptr, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

}  // namespace

TEST_F(TMachineTest, WindowProcedureServesTheMachine) {
  CREATESTRUCTA creation{};
  std::string listing;
  {
    testkit::TStdoutCapture output;
    EXPECT_EQ(WndProc(nullptr, WM_CREATE, 0, reinterpret_cast<LPARAM>(&creation)), 0);
    listing = output.Text();
  }
  EXPECT_EQ(listing.rfind("Simulated integers:\n", 0), 0u);

  EXPECT_EQ(sendRequest(SIM_CMD_SETINT, "_C_Time", -1), 1);
  EXPECT_EQ(sendRequest(SIM_CMD_GETINT, "_C_Time", 0), 0xFFFF);
  EXPECT_EQ(sendRequest(SIM_CMD_GETINT, "no_such", 0), 0);
  EXPECT_EQ(sendRequest(SIM_CMD_SETBIT, "R_C_Rain", 1), 1);
  EXPECT_EQ(sendRequest(SIM_CMD_GETBIT, "R_C_Rain", 0), 0x10002);
  EXPECT_EQ(sendRequest(SIM_CMD_SETMODE, "", 0, SIM_MODE_CYCLE_START), 0);
  EXPECT_EQ(sendRequest(SIM_CMD_GETINT, "_C_Time", 0), 0x10000) << "the cycle start applied row 1";
  EXPECT_EQ(sendRequest(SIM_CMD_GETBIT, "R_C_Rain", 0), 0x10001);
  // This machine has no analog inputs, no PWM outputs and no mode hook.
  EXPECT_EQ(sendRequest(SIM_CMD_READADC, "_C_Time", 0), 0);
  EXPECT_EQ(sendRequest(SIM_CMD_SETPWM, "_C_Time", 0), 0);
  EXPECT_EQ(sendRequest(SIM_CMD_SETMODE, "", 0, SIM_MODE_SIMULATION_ENTERED), 0);

  testkit::TStdoutCapture output;
  EXPECT_EQ(WndProc(nullptr, WM_COMMAND, MAKEWPARAM(SIM_ID_DUMP_TABLE, BN_CLICKED), 0), 0);
  EXPECT_EQ(countOf(output.Text(), "*****Circuit tables dump  start*****"), 1u);
}

TEST_F(TMachineTest, DestroyPostsTheQuitMessageWithCodeZero) {
  EXPECT_EQ(WndProc(nullptr, 0x0400, 1, 2), 0) << "another message goes to the default procedure";
  EXPECT_EQ(WndProc(nullptr, WM_CLOSE, 0, 0), 0) << "closing a window that is not there does nothing";
  EXPECT_EQ(WndProc(nullptr, WM_DESTROY, 0, 0), 0);
  MSG msg{};
  msg.wParam = 99;
  EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 0u);
}
