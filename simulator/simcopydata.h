#pragma once
// The request protocol of the simulator panel: a client finds the window by
// its class name and sends it WM_COPYDATA with a command in dwData and a
// tSIM_COPYDATA in lpData; the result of SendMessage is the answer.
#include <cstddef>
#include <cstdint>

#define SIM_WINDOW_CLASS "Tolvane simulator"

enum : uint32_t {
  SIM_CMD_SETMODE = 0,
  SIM_CMD_SETBIT = 1,
  SIM_CMD_GETBIT = 2,
  SIM_CMD_SETINT = 3,
  SIM_CMD_GETINT = 4,
  SIM_CMD_READADC = 7,
  SIM_CMD_SETPWM = 8,
};

// Any 32-bit value may arrive; the named ones act.
enum tSIM_SETMODE_WPARAM : int32_t {
  SIM_MODE_SIMULATION_ENTERED = 0,
  SIM_MODE_CYCLE_START = 4,
  SIM_MODE_CYCLE_END = 5,
};

const size_t SIM_NAME_SIZE = 300;

// 308 bytes, little-endian, the fields back to back.
struct tSIM_COPYDATA {
  char name[SIM_NAME_SIZE];  // ended by a zero byte
  int16_t value;             // for SIM_CMD_SETBIT only its first byte counts, as a flag
  int16_t value2;
  int32_t mode;  // tSIM_SETMODE_WPARAM
};
static_assert(sizeof(tSIM_COPYDATA) == 308, "the request record is a wire format");
static_assert(offsetof(tSIM_COPYDATA, value) == 300 && offsetof(tSIM_COPYDATA, mode) == 304,
              "the request record is a wire format");

// Answers of the get commands carry the value above this base.
const int32_t SIM_ANSWER_BASE = 0x10000;
