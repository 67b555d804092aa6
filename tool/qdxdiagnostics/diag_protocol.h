#pragma once
// The controller's USB HID diagnostic reports: 64 bytes both ways, report
// id 2, multi-byte fields little-endian.
#include <cstddef>
#include <cstdint>

// Packet types, response codes, mode commands and status words share one numbering.
enum DIAG_CONSTANTS {
  DIAG_PKT_DATA = 0,
  DIAG_PKT_RESET = 1,
  DIAG_PKT_MODE = 2,

  DIAG_RESP_OK = 20,
  DIAG_RESP_BUSY = 21,
  DIAG_RESP_ERROR = 22,  // also set locally for a malformed report
  DIAG_RESP_INFO = 23,

  DIAG_MODE_CLOSE = 40,
  DIAG_CODE_BAD_REPORT = 41,  // status word set locally for a malformed report
  DIAG_MODE_INFO = 42,
  DIAG_MODE_ERASE = 44,
  DIAG_CODE_ERASED = 45,
  DIAG_CODE_STARTED = 46,
  DIAG_MODE_START = 47,
  DIAG_MODE_STOP = 48,
};

// Status flags: byte 2 of the information report.
enum DIAG_FLAGS {
  DIAG_FLAG_SHIPPED_LADDER = 0x01,
  DIAG_FLAG_RUNNING = 0x02,
  DIAG_FLAG_USB_SEND_PENDING = 0x04,
  DIAG_FLAG_CYCLE_TIMING_ERROR = 0x08,
};

constexpr unsigned char DIAG_REPORT_ID = 2;
constexpr size_t DIAG_REPORT_SIZE = 64;
constexpr size_t DIAG_PAYLOAD_SIZE = 62;
// Four payloads: the most one send carries.
constexpr size_t DIAG_BUFFER_SIZE = 4 * DIAG_PAYLOAD_SIZE;

#if defined(__BYTE_ORDER__)
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the report records are read in place as little-endian");
#endif

// Output report.
struct TDiagPacket {
  uint8_t reportId;
  uint8_t header;  // bits 7-6 packet index, 5-4 (send length div 62) mod 4, 3-0 packet type
  uint8_t payload[DIAG_PAYLOAD_SIZE];
};

// Input report.
struct TDiagResp {
  uint8_t reportId;
  uint8_t respCode;
  uint16_t statusWord;  // information report: low byte holds the status flags
  uint16_t setCycle;
  uint16_t avgCycle;
  uint16_t maxCycle;
  uint16_t absMinCycle;
  uint16_t stopReason;
  uint8_t unread[50];
};

static_assert(sizeof(TDiagPacket) == DIAG_REPORT_SIZE, "a packet is one report");
static_assert(sizeof(TDiagResp) == DIAG_REPORT_SIZE, "a response is one report");
static_assert(offsetof(TDiagResp, statusWord) == 2 && offsetof(TDiagResp, stopReason) == 12,
              "response fields at their report offsets");
