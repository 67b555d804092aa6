#include "qdx_load_blocks.h"

#include <cstdint>
#include <cstring>

#include "console_say.h"

namespace {

constexpr unsigned BLOCK_DATA_SIZE = 128;
constexpr unsigned BLOCK_SIZE = 4 + BLOCK_DATA_SIZE;
// The controller stores a block within one busy period; the last, partial
// block is given less.
constexpr unsigned BLOCK_BUSY_MS = 1000;
constexpr unsigned LAST_BLOCK_BUSY_MS = 500;

class TLoadBlock {
 public:
  bool Empty() const { return count_ == 0; }
  bool Full() const { return count_ == BLOCK_DATA_SIZE; }
  bool Continues(uint32_t address) const { return address == start_ + count_; }

  void Start(uint32_t address) {
    std::memset(bytes_, 0xFF, sizeof bytes_);
    for (unsigned i = 0; i < 4; ++i) bytes_[i] = static_cast<uint8_t>(address >> (8 * i));
    start_ = address;
    count_ = 0;
  }

  void Add(uint8_t data) { bytes_[4 + count_++] = data; }

  bool Send(TQDXDiagIf& diag, unsigned busyMs) {
    const bool stored = diag.SendBuffer(bytes_, BLOCK_SIZE) && diag.WaitDiagNotBusy(busyMs) &&
                        diag.GetLastResponseCode() == DIAG_RESP_OK;
    count_ = 0;
    if (stored) console_say("*");
    return stored;
  }

 private:
  uint8_t bytes_[BLOCK_SIZE];
  uint32_t start_ = 0;
  unsigned count_ = 0;
};

}  // namespace

bool qdx_LoadImage(TQDXDiagIf& diag, const TStreamReaderRoutines& routines) {
  if (!routines.firstByte()) return true;
  TLoadBlock block;
  do {
    const uint32_t address = routines.address();
    const uint8_t data = routines.data();
    if (!block.Empty() && !block.Continues(address) && !block.Send(diag, BLOCK_BUSY_MS)) return false;
    if (block.Empty()) block.Start(address);
    block.Add(data);
    if (block.Full() && !block.Send(diag, BLOCK_BUSY_MS)) return false;
  } while (routines.nextByte());
  return block.Empty() || block.Send(diag, LAST_BLOCK_BUSY_MS);
}
