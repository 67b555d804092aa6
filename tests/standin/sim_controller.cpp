#include "sim_controller.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "sim_image_check.h"
#include "sim_protocol.h"

namespace {

constexpr uint8_t report_id = 2;
constexpr uint8_t foreign_report_id = 3;
constexpr size_t report_size = 64;
constexpr size_t payload_size = 62;
constexpr size_t block_data_size = 128;
constexpr size_t block_size = 4 + block_data_size;
constexpr size_t queue_capacity = 64;  // about what the kernel's hidraw list or a HID driver keeps
constexpr uint64_t busy_interval_ms = 2;

enum : size_t { cycle_set, cycle_avg, cycle_max, cycle_absmin };

const char* command_name(unsigned mode) {
  switch (mode) {
    case SIM_MODE_CLOSE: return "close";
    case SIM_MODE_INFO: return "info";
    case SIM_MODE_ERASE: return "erase";
    case SIM_MODE_START: return "start";
    case SIM_MODE_STOP: return "stop";
    default: return nullptr;
  }
}

void put16(TSimReport& report, size_t at, unsigned value) {
  report[at] = static_cast<uint8_t>(value & 0xFF);
  report[at + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

// Moves a periodic deadline on so that at most a full queue of reports is
// still due: older ones would be pushed out anyway.
void skip_backlog(uint64_t& next, uint64_t now, uint64_t period) {
  const uint64_t keep = queue_capacity * period;
  if (now > next + keep) next = now - keep;
}

}  // namespace

TSimController::TSimController(const TSimConfig& setup, int number, TSimRecord log)
    : config(setup),
      index(number),
      record(std::move(log)),
      flash(SIM_FLASH_SIZE, 0xFF),
      running(setup.running),
      stopReason(setup.stopReason),
      flags(setup.flags & ~SIM_FLAG_RUNNING),
      reporting(setup.reporting),
      nextInfoAt(setup.reportMs) {
  std::copy(std::begin(setup.cycles), std::end(setup.cycles), cycles);
}

void TSimController::Note(const std::string& event, const std::string& fields) const {
  record.Line(event + " " + std::to_string(index) + (fields.empty() ? "" : " " + fields));
}

void TSimController::Connected(uint64_t now) {
  queue.clear();
  // The reports due while no one listened are lost; the controller kept its
  // pace, so the next information report may fall due at once.
  if (nextInfoAt < now) nextInfoAt += (now - nextInfoAt + config.reportMs - 1) / config.reportMs * config.reportMs;
  nextBusyAt = std::max(nextBusyAt, now);
}

bool TSimController::Pending(uint64_t now) {
  Pump(now);
  return !queue.empty();
}

TSimReport TSimController::Take(uint64_t now) {
  Pump(now);
  if (queue.empty()) return TSimReport();
  TSimReport report = std::move(queue.front());
  queue.pop_front();
  return report;
}

void TSimController::Pump(uint64_t now) {
  // Where a full queue takes nothing more, the oldest due reports are the
  // ones it keeps: every one is made, in order.
  if (config.fullQueue == TSimFullQueue::DropsOldest) {
    if (reporting) skip_backlog(nextInfoAt, now, config.reportMs);
    if (busy) skip_backlog(nextBusyAt, now, busy_interval_ms);
  }
  for (;;) {
    const uint64_t statusAt = NextStatusAt();
    const bool information = reporting && nextInfoAt <= now;
    if (!information && statusAt > now) return;
    // An information report due at the same moment goes first.
    if (information && nextInfoAt <= statusAt) {
      Send(Information());
      nextInfoAt += config.reportMs;
    } else {
      SendStatus();
    }
  }
}

uint64_t TSimController::BusyAt() const {
  if (!busy) return UINT64_MAX;
  return config.faults.busyForever || nextBusyAt < busyEnd ? nextBusyAt : busyEnd;
}

uint64_t TSimController::NextStatusAt() const { return std::min(BusyAt(), erasePending ? eraseConfirmAt : UINT64_MAX); }

void TSimController::SendStatus() {
  if (erasePending && eraseConfirmAt <= BusyAt()) {
    erasePending = false;
    Send(Status(SIM_RESP_OK, SIM_CODE_ERASED));
  } else if (config.faults.busyForever || nextBusyAt < busyEnd) {
    Send(Status(SIM_RESP_BUSY, 0));
    nextBusyAt += busy_interval_ms;
  } else {
    // The block's verdict ends the busy time.
    busy = false;
    Send(Status(busyOk ? SIM_RESP_OK : SIM_RESP_ERROR, 0));
  }
}

void TSimController::Send(TSimReport report) {
  if (config.faults.silent) return;
  auto push = [this](TSimReport item) {
    if (queue.size() >= queue_capacity) {
      if (config.fullQueue == TSimFullQueue::TakesNoMore) return;
      queue.pop_front();
    }
    queue.push_back(std::move(item));
  };
  if (config.faults.shortReport) push(TSimReport(report.begin(), report.begin() + report_size - 1));
  if (config.faults.shortOnly) report.resize(report_size - 1);
  push(std::move(report));
  if (config.faults.foreign) {
    TSimReport other(report_size, 0);
    other[0] = foreign_report_id;
    other[1] = SIM_RESP_ERROR;  // would read as a refusal if taken for a diagnostic report
    push(std::move(other));
  }
}

TSimReport TSimController::Status(unsigned code, unsigned word) const {
  TSimReport report(report_size, 0);
  report[0] = report_id;
  report[1] = static_cast<uint8_t>(code);
  put16(report, 2, word);
  put16(report, 4, cycles[cycle_set]);
  put16(report, 6, cycles[cycle_avg]);
  put16(report, 8, cycles[cycle_max]);
  put16(report, 10, cycles[cycle_absmin]);
  put16(report, 12, stopReason);
  return report;
}

TSimReport TSimController::Information() const {
  return Status(SIM_RESP_INFO, flags | (running ? SIM_FLAG_RUNNING : 0u));
}

void TSimController::Receive(const uint8_t* data, size_t length, uint64_t now) {
  // What fell due before the packet came goes ahead of its answer.
  Pump(now);
  if (config.faults.silent) return;
  uint8_t packet[report_size] = {};
  std::memcpy(packet, data, std::min(length, report_size));
  if (packet[0] != report_id) {
    // Not a diagnostic report: acknowledged all the same.
    Send(Status(SIM_RESP_OK, 0));
    return;
  }
  const uint8_t header = packet[1];
  switch (header & 0x0F) {
    case SIM_PACKET_DATA: OnData(header, packet + 2, now); break;
    case SIM_PACKET_RESET: OnReset(); break;
    case SIM_PACKET_MODE: OnMode(static_cast<unsigned>(packet[2] | packet[3] << 8), now); break;
    default: Send(Status(SIM_RESP_ERROR, header & 0x0Fu)); break;
  }
}

void TSimController::OnMode(unsigned mode, uint64_t now) {
  Note("mode", std::to_string(mode));
  const char* name = command_name(mode);
  if (!name || config.faults.refuse.count(name)) {
    Send(Status(SIM_RESP_ERROR, mode));
    return;
  }
  const bool misconfirm = config.faults.misconfirm.count(name) != 0;
  // Information reports go on only until the next command; a chatty controller never stops.
  if (mode == SIM_MODE_CLOSE && !config.faults.chatty) reporting = false;
  switch (mode) {
    case SIM_MODE_INFO:
      if (misconfirm) {
        Send(Status(SIM_RESP_OK, mode));
        return;
      }
      if (!reporting) {
        reporting = true;
        nextInfoAt = now + config.reportMs;
      }
      Send(Information());
      break;
    case SIM_MODE_STOP:
      if (running) {
        running = false;
        stopReason = SIM_STOP_DIAG_REQUEST;
      }
      Send(Status(SIM_RESP_OK, misconfirm ? 0u : unsigned(SIM_MODE_STOP)));
      break;
    case SIM_MODE_ERASE: Erase(misconfirm, now); break;
    case SIM_MODE_START: Start(misconfirm); break;
    default:  // close
      Send(Status(SIM_RESP_OK, SIM_MODE_CLOSE));
      break;
  }
}

void TSimController::Erase(bool misconfirm, uint64_t now) {
  if (running) {
    Note("erase", "refused");
    Send(Status(SIM_RESP_ERROR, SIM_MODE_ERASE));
    return;
  }
  std::fill(flash.begin(), flash.end(), 0xFF);
  flags &= ~SIM_FLAG_SHIPPED_LADDER;
  blocksSinceErase = 0;
  Note("erase", "ok");
  if (misconfirm) {
    Send(Status(SIM_RESP_OK, SIM_MODE_ERASE));
    return;
  }
  // Erasing takes a while: accepted now, confirmed by a later report.
  Send(Status(SIM_RESP_BUSY, SIM_MODE_ERASE));
  erasePending = true;
  eraseConfirmAt = now + config.eraseMs;
}

void TSimController::Start(bool misconfirm) {
  const TSimImageVerdict verdict = sim_check_image(flash);
  if (verdict.reason != SIM_IMAGE_OK) {
    running = false;
    stopReason = verdict.reason;
    Note("start", "refused " + std::to_string(verdict.reason));
    Send(Status(SIM_RESP_ERROR, verdict.reason));
    return;
  }
  running = true;
  stopReason = 0;
  flags |= SIM_FLAG_SHIPPED_LADDER;
  char crc[8];
  std::snprintf(crc, sizeof crc, "%04x", verdict.crc);
  Note("start", "ok " + std::to_string(verdict.words) + " " + crc);
  Send(Status(SIM_RESP_OK, misconfirm ? SIM_MODE_START : SIM_CODE_STARTED));
}

void TSimController::OnReset() {
  Note("reset", "");
  if (config.faults.refuse.count("reset")) {
    Send(Status(SIM_RESP_ERROR, SIM_PACKET_RESET));
    return;
  }
  flags &= ~SIM_FLAG_CYCLE_TIMING_ERROR;
  cycles[cycle_max] = cycles[cycle_avg];
  Send(Status(SIM_RESP_OK, 0));
}

// Load blocks are the 132-byte sends: three packets with length bits 2.
// Every packet is acknowledged; the block's verdict follows a busy time.
void TSimController::OnData(uint8_t header, const uint8_t* payload, uint64_t now) {
  Send(Status(SIM_RESP_OK, 0));
  const int part = header >> 6;
  if (((header >> 4) & 3) != 2) return;
  if (part == 0) {
    block.clear();
    nextPart = 0;
  }
  if (part == nextPart) {
    block.insert(block.end(), payload, payload + payload_size);
    ++nextPart;
  } else {
    nextPart = -1;
  }
  if (part != 2) return;
  ++blocksSinceErase;
  busyOk = nextPart == 3 && StoreBlock();
  nextPart = 0;
  busy = true;
  nextBusyAt = now + busy_interval_ms;
  busyEnd = now + config.busyMs;
}

bool TSimController::StoreBlock() {
  const uint32_t address = block[0] | block[1] << 8 | block[2] << 16 | static_cast<uint32_t>(block[3]) << 24;
  char text[16];
  std::snprintf(text, sizeof text, "%08x", address);
  const bool ok =
      !running && !config.faults.blockErrors.count(blocksSinceErase) && address <= SIM_FLASH_SIZE - block_data_size;
  if (ok) std::copy(block.begin() + 4, block.begin() + block_size, flash.begin() + address);
  Note("block", std::string(text) + (ok ? " ok" : " error"));
  return ok;
}
