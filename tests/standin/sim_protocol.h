#pragma once
// The diagnostic protocol's numbers as the controller's firmware knows them
// (kept apart from the host's own definitions on purpose: the stand-in
// checks the host side, it does not share its code).
enum TSimProtocol : unsigned {
  SIM_PACKET_DATA = 0,
  SIM_PACKET_RESET = 1,
  SIM_PACKET_MODE = 2,
  SIM_RESP_OK = 20,
  SIM_RESP_BUSY = 21,
  SIM_RESP_ERROR = 22,
  SIM_RESP_INFO = 23,
  SIM_MODE_CLOSE = 40,
  SIM_MODE_INFO = 42,
  SIM_MODE_ERASE = 44,
  SIM_CODE_ERASED = 45,
  SIM_CODE_STARTED = 46,
  SIM_MODE_START = 47,
  SIM_MODE_STOP = 48,
  SIM_STOP_DIAG_REQUEST = 13,
  SIM_FLAG_SHIPPED_LADDER = 0x01,
  SIM_FLAG_RUNNING = 0x02,
  SIM_FLAG_CYCLE_TIMING_ERROR = 0x08,
};
