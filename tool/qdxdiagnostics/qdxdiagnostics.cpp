#include "qdxdiagnostics.h"

#include <algorithm>
#include <cstring>

#include "hid_flush_buffers.h"
#include "hid_io.h"
#include "tolvane_clock.h"

namespace {

constexpr int default_polls = 250;
constexpr int burst_polls = 10;
constexpr uint64_t close_drain_ms = 249;
constexpr uint64_t close_quiet_ms = 20;
constexpr uint64_t attempt_ms = 99;
constexpr int erase_attempts = 50;
constexpr int mode_attempts = 20;

// The status word that confirms a mode besides the expected response code.
bool status_confirms(DIAG_CONSTANTS mode, unsigned word) {
  switch (mode) {
    case DIAG_MODE_ERASE: return word == DIAG_CODE_ERASED;
    case DIAG_MODE_START: return word == DIAG_CODE_STARTED;
    case DIAG_MODE_INFO: return true;
    default: return word == static_cast<unsigned>(mode);
  }
}

}  // namespace

TQDXDiagIf::TQDXDiagIf(hid_device* device) : dev(device), diagBufOut{}, resp{} { hidio_set_nonblocking(dev, 1); }

int TQDXDiagIf::GetLastResponseCode() const { return resp.respCode; }

void TQDXDiagIf::ClearDiagBufOut() { std::memset(diagBufOut, 0, sizeof diagBufOut); }

// One read into the stored response. Reports with another id are dropped
// without touching it: they are not the controller's answers and must not
// decide a wait that looks at the stored code. Nor may an information report,
// whole or cut short, where another answer is awaited: the controller sends
// them at any moment while in diagnostic mode, also between a packet and its
// answer, and one stored there would stand in for the answer.
TQDXDiagIf::TPoll TQDXDiagIf::Poll(TInformation information) {
  const TPoll poll = Take(information);
  if (poll == TPoll::Empty) ms_sleep(1);
  return poll;
}

TQDXDiagIf::TPoll TQDXDiagIf::Take(TInformation information) {
  if (!dev) return TPoll::Empty;
  unsigned char report[DIAG_REPORT_SIZE] = {};
  int got = hidio_read(dev, report, sizeof report);
  if (got <= 0) return TPoll::Empty;
  if (report[0] != DIAG_REPORT_ID) return TPoll::Foreign;
  const size_t length = std::min(static_cast<size_t>(got), sizeof report);
  if (length > 1 && report[1] == DIAG_RESP_INFO && information == TInformation::PassedOver) return TPoll::Passed;
  std::memcpy(&resp, report, length);
  if (length == DIAG_REPORT_SIZE) return TPoll::Valid;
  resp.respCode = DIAG_RESP_ERROR;
  resp.statusWord = DIAG_CODE_BAD_REPORT;
  return TPoll::Malformed;
}

// Every report passed over counts as a poll, so that a controller that
// reports without pause cannot hold a wait.
bool TQDXDiagIf::PollForValid(int polls, TInformation information) {
  for (int i = 0; i < polls; ++i) {
    if (Poll(information) == TPoll::Valid) return true;
  }
  return false;
}

// A burst: up to 10 polls; true when it ended on a valid report.
bool TQDXDiagIf::Burst(TInformation information) { return PollForValid(burst_polls, information); }

int TQDXDiagIf::GetDiagResponse(int count) {
  return PollForValid(count, TInformation::Answers) ? static_cast<int>(DIAG_REPORT_SIZE) : -1;
}

int TQDXDiagIf::GetDiagResponse() { return GetDiagResponse(default_polls); }

bool TQDXDiagIf::FlushBuffers() {
  hid_flush_buffers(dev);
  return true;
}

bool TQDXDiagIf::WaitForDiagRespCode(DIAG_CONSTANTS code, unsigned ms) {
  uint64_t t0 = ms_tick();
  for (;;) {
    bool valid = Burst(TInformation::Answers);
    if (resp.respCode == code) return true;
    if (!valid || ms_tick() - t0 >= ms) return false;
  }
}

bool TQDXDiagIf::WaitDiagNotBusy(unsigned ms) {
  uint64_t t0 = ms_tick();
  for (;;) {
    if (!PollForValid(default_polls, TInformation::PassedOver)) return false;
    if (resp.respCode != DIAG_RESP_BUSY) return resp.respCode != DIAG_RESP_ERROR;
    if (ms_tick() - t0 >= ms) return false;
  }
}

bool TQDXDiagIf::ReadResponse(TDiagResp* out) {
  if (!out) return false;
  bool valid = PollForValid(default_polls, TInformation::Answers);
  *out = resp;
  return valid;
}

// The controller answers every packet; an error code refuses it.
TQDXDiagIf::TSent TQDXDiagIf::Acknowledgement(TInformation information) {
  if (!PollForValid(default_polls, information)) return TSent::Unanswered;
  return resp.respCode == DIAG_RESP_ERROR ? TSent::Refused : TSent::Accepted;
}

TQDXDiagIf::TSent TQDXDiagIf::Send(DIAG_CONSTANTS type, int len, bool wait) {
  if (len == 0) return TSent::Accepted;
  if (!dev) return TSent::NotWritten;
  if (len < 0) return TSent::Accepted;
  const unsigned lengthBits = static_cast<unsigned>(len / static_cast<int>(DIAG_PAYLOAD_SIZE)) % 4;
  const unsigned typeBits = static_cast<unsigned>(type) % 16;
  // Only the entry into information mode is answered with an information report.
  const bool enteringInformation = type == DIAG_PKT_MODE && (diagBufOut[0] | diagBufOut[1] << 8) == DIAG_MODE_INFO;
  const TInformation information = enteringInformation ? TInformation::Answers : TInformation::PassedOver;
  TSent sent = TSent::Accepted;
  for (unsigned k = 0; len > 0 && sent == TSent::Accepted; ++k, len -= static_cast<int>(DIAG_PAYLOAD_SIZE)) {
    const unsigned slot = k % 4;
    TDiagPacket packet{};
    packet.reportId = DIAG_REPORT_ID;
    packet.header = static_cast<uint8_t>(slot * 64 + lengthBits * 16 + typeBits);
    std::memcpy(packet.payload, diagBufOut + slot * DIAG_PAYLOAD_SIZE, DIAG_PAYLOAD_SIZE);
    // What came before the packet answers nothing of it: gone, it can neither
    // stand in for the answer nor crowd it out of a queue that a pause of
    // the program let fill up (a full hidraw queue takes no further report).
    if (wait) hid_flush_buffers(dev);
    int written = hidio_write(dev, reinterpret_cast<const unsigned char*>(&packet), sizeof packet);
    if (written < 0)
      sent = TSent::NotWritten;
    else if (wait)
      sent = Acknowledgement(information);
  }
  return sent;
}

bool TQDXDiagIf::SendDiagBuffer(DIAG_CONSTANTS type, int len, bool wait) {
  return Send(type, len, wait) == TSent::Accepted;
}

bool TQDXDiagIf::SendDiagBuffer(DIAG_CONSTANTS type, int len) { return SendDiagBuffer(type, len, true); }

// The answer is read here: left unread, it would stand in for the next
// command's acknowledgement.
bool TQDXDiagIf::ResetDiag() {
  if (!dev) return false;
  ClearDiagBufOut();
  return SendDiagBuffer(DIAG_PKT_RESET, 1);
}

bool TQDXDiagIf::SendBuffer(const void* src, unsigned len) {
  if (len > DIAG_BUFFER_SIZE) return false;
  ClearDiagBufOut();
  if (len > 0) {
    if (!src) return false;
    std::memcpy(diagBufOut, src, len);
  }
  return SendDiagBuffer(DIAG_PKT_DATA, static_cast<int>(len));
}

bool TQDXDiagIf::SetDiagMode(DIAG_CONSTANTS mode) {
  if (!dev) return false;
  ClearDiagBufOut();
  diagBufOut[0] = static_cast<unsigned char>(mode & 0xFF);
  diagBufOut[1] = static_cast<unsigned char>((mode >> 8) & 0xFF);
  const TSent sent = Send(DIAG_PKT_MODE, 6, true);
  // A refused close too: the controller stays in diagnostic mode. A close
  // unanswered or not written is judged by the quiet that follows.
  if (sent == TSent::Refused) return false;
  if (sent != TSent::Accepted && mode != DIAG_MODE_CLOSE) return false;
  DrainQueued(mode == DIAG_MODE_INFO ? TInformation::Answers : TInformation::PassedOver);
  return mode == DIAG_MODE_CLOSE ? QuietAfterClose() : Confirmed(mode);
}

// Takes off every report queued behind the acknowledgement, without waiting,
// so that the confirmation is looked for in what comes next. A flush would
// throw away a confirmation that came at once; read here, it is stored, as
// every answer is, while the acknowledgement stays stored otherwise and may
// already confirm the mode. Bounded like a wait, so that a controller that
// reports without pause cannot hold the caller.
void TQDXDiagIf::DrainQueued(TInformation information) {
  for (int i = 0; i < default_polls; ++i) {
    if (Take(information) == TPoll::Empty) return;
  }
}

// After leaving diagnostic mode the controller must fall silent: true when
// no valid report came in the last 21 ms or more of a 250 ms drain.
bool TQDXDiagIf::QuietAfterClose() {
  const uint64_t t0 = ms_tick();
  uint64_t last = t0;
  while (ms_tick() - t0 <= close_drain_ms) {
    // Information reports count here: a controller still sending them has not left.
    if (Burst(TInformation::Answers)) last = ms_tick();
  }
  return ms_tick() - last > close_quiet_ms;
}

bool TQDXDiagIf::Confirmed(DIAG_CONSTANTS mode) {
  const int attempts = mode == DIAG_MODE_ERASE ? erase_attempts : mode_attempts;
  const int expected = mode == DIAG_MODE_INFO ? DIAG_RESP_INFO : DIAG_RESP_OK;
  const TInformation information = mode == DIAG_MODE_INFO ? TInformation::Answers : TInformation::PassedOver;
  for (int attempt = 0; attempt < attempts; ++attempt) {
    const uint64_t t = ms_tick();
    for (;;) {
      // After an empty burst the report stored last decides, often the acknowledgement.
      bool valid = Burst(information);
      if (resp.respCode == expected) {
        if (status_confirms(mode, resp.statusWord)) return true;
        break;
      }
      if (!valid || ms_tick() - t > attempt_ms) break;
    }
  }
  return false;
}
