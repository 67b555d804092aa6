#include "stop_reasons.h"

#include <cstdio>

const TStopReason StopReasonTable[STOP_REASON_COUNT] = {
    {0, "RUNNING", "PLC never stopped, or running"},
    {1, "CYCLE_TOO_SHORT", "PLC cycle too short, orverdue 3 times"},
    {2, "CRC_ERROR", "PLC stopped due to ladder code CRC error."},
    {3, "CRC_NO_PROGEND", "Cannot find END_OF_PROGRAM instruction"},
    {4, "CRC_NOTHING_TO_CHECK", "Bad format for END_OF_PROGRAM instruction or zero instructions"},
    {5, "PWM_PARAM_OUT_RANGE", "Invalid PWM channel parameter"},
    {6, "ADC_PARAM_OUT_RANGE", "Invalid ADC channel parameter"},
    {7, "GETINT_OUT_RANGE", "GetInt parameter is out of range"},
    {8, "SETINT_OUT_RANGE", "SetInt parameter is out of range"},
    {9, "GETBIT_OUT_RANGE", "GetBit parameter is out of range"},
    {10, "SETBIT_OUT_RANGE", "SetBit parameter is out of range"},
    {11, "GETBC_BAD_PC", "Get instruction from a bad PC address"},
    {12, "PLC_RESET", "Stopped due to PLC reset call"},
    {13, "DIAG_STOP", "Stopped due to Diagnostic request"},
    {14, "BEFORE_ERASE", "Stopped before erasing CODE"},
    {15, "BEFORE_FLASH_WR", "Stopped before FLASH writing"},
    {16, "DURING_ERASE", "Error stop during erase"},
    {17, "DURING_PR_ROW", "Error stop during FLASH row programming"},
    {18, "DURING_PR_WORD", "Error stop during FLASH word programming"},
    {19, "DIAG_HARDRESET", "Stopped due to Diagnostic HARD RESET request"},
};

void qdx_printStopReason(unsigned code) {
  if (code < STOP_REASON_COUNT) {
    const TStopReason& reason = StopReasonTable[code];
    std::printf("%s(%d) /%s/\n", reason.name, static_cast<int>(code), reason.description);
  } else {
    std::printf("******(%d) /No string description/\n", static_cast<int>(code));
  }
}
