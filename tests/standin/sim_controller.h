#pragma once
// The model of one QDX controller as the diagnostic protocol sees it: it
// answers every output report, reports its state while in diagnostic mode,
// stores load blocks in its flash and checks the image before it starts.
// Time is passed in (milliseconds), so the model can be driven without waiting.
#include <cstdint>
#include <deque>
#include <vector>

#include "sim_config.h"
#include "sim_record.h"

using TSimReport = std::vector<uint8_t>;

constexpr size_t SIM_FLASH_SIZE = 0x20000;

class TSimController {
 public:
  TSimController(const TSimConfig& config, int index, TSimRecord record);

  // The host opened the device: reports sent while it was closed are lost.
  void Connected(uint64_t now);
  // One output report of the host.
  void Receive(const uint8_t* data, size_t length, uint64_t now);
  // Whether a report has been sent by now and not taken yet.
  bool Pending(uint64_t now);
  // The oldest such report (empty when there is none).
  TSimReport Take(uint64_t now);

  const std::vector<uint8_t>& Flash() const { return flash; }
  bool Running() const { return running; }
  unsigned StopReason() const { return stopReason; }

 private:
  // Queues the reports that have fallen due by now, in the order they fell due.
  void Pump(uint64_t now);
  // When the next busy report or the block's verdict falls due (UINT64_MAX: not busy).
  uint64_t BusyAt() const;
  // When the next report of a block or an erase falls due (UINT64_MAX: none).
  uint64_t NextStatusAt() const;
  // Sends that report.
  void SendStatus();
  void Send(TSimReport report);
  TSimReport Status(unsigned code, unsigned word) const;
  TSimReport Information() const;
  void Note(const std::string& event, const std::string& fields) const;

  void OnMode(unsigned mode, uint64_t now);
  void OnReset();
  void OnData(uint8_t header, const uint8_t* payload, uint64_t now);
  void Erase(bool misconfirm, uint64_t now);
  void Start(bool misconfirm);
  bool StoreBlock();

  TSimConfig config;
  int index;
  TSimRecord record;
  std::vector<uint8_t> flash;
  bool running;
  unsigned stopReason;
  unsigned flags;
  unsigned cycles[4];

  bool reporting;
  uint64_t nextInfoAt;

  bool busy = false;
  bool busyOk = true;
  uint64_t nextBusyAt = 0;
  uint64_t busyEnd = 0;

  bool erasePending = false;
  uint64_t eraseConfirmAt = 0;

  std::vector<uint8_t> block;
  int nextPart = 0;
  unsigned blocksSinceErase = 0;

  std::deque<TSimReport> queue;
};
