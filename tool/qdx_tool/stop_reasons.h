#pragma once
// Why a controller stopped, as its information report gives the code.
#include <cstdint>

struct TStopReason {
  uint32_t code;
  const char* name;
  const char* description;
};

constexpr unsigned STOP_REASON_COUNT = 20;
extern const TStopReason StopReasonTable[STOP_REASON_COUNT];

// "NAME(code) /description/" and a newline; codes past the table have no text.
void qdx_printStopReason(unsigned code);
