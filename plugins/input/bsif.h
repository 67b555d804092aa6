#pragma once
// The memory image of an input plug-in: bytes at 32-bit addresses, appended
// in file order and walked in the order they are held.
//
// Bytes are held as runs of consecutive addresses over one data buffer, so a
// file written in address order costs one byte of memory per image byte and
// sorts in no time.
#include <cstddef>
#include <cstdint>
#include <vector>

struct MemoryDataTag {
  uint32_t address;
  uint8_t data;
};

// Defined here so that the exports, which forward every call of a walk,
// compile to a few instructions.
class TByteStreamer {
 public:
  TByteStreamer();

  // Rewinds to the first byte; true when the image holds one.
  bool GetFirstByte() {
    run = 0;
    return Settle();
  }
  // Advances one byte; false once the walk has passed the last one (and on
  // every later call), and before the first rewind.
  bool GetNextByte() {
    if (position + 1 < runEnd) {
      ++position;
      ++address;
      return true;
    }
    if (run >= runs.size()) return false;
    ++run;
    return Settle();
  }
  // Address and data of the current byte, 0 when no byte is current.
  uint32_t GetCurrentByteAddress() const { return address; }
  uint8_t GetCurrentByteData() const { return *position; }

  void Append(MemoryDataTag byte) {
    if (!Continues(byte.address, 1)) runs.push_back({byte.address, 0, data.size()});
    ++runs.back().length;
    data.push_back(byte.data);
  }
  // Appends `count` bytes at `address` and on, the address wrapping at 32 bits.
  void Append(uint32_t address, const uint8_t* bytes, size_t count);

 protected:
  // Drops the image and the position; room for `expectedBytes` is set aside
  // when memory allows.
  void Clear(size_t expectedBytes = 0);
  // Orders the image by address; false when an address is held more than
  // once, in which case the repeated bytes are served next to each other.
  bool SortByAddress();

 private:
  struct TRun {
    uint32_t address;
    uint32_t length;
    size_t first;  // index of the run's first byte in `data`
    // One past the last address; 2^32 for a run that ends at the top.
    uint64_t End() const { return uint64_t{address} + length; }
  };
  static constexpr size_t NOT_REWOUND = SIZE_MAX;

  // True when `count` bytes at `address` extend the last run.
  bool Continues(uint32_t address, size_t count) const {
    return !runs.empty() && runs.back().End() == address && runs.back().length <= UINT32_MAX - count;
  }
  // Makes the first byte of `run` current; false, with no current byte, past
  // the last run.
  bool Settle();
  void Unsettle();
  void SplitIntoSingleBytes();

  static const uint8_t NO_DATA;

  std::vector<uint8_t> data;
  std::vector<TRun> runs;
  // The walk: the run under way, the current byte and the end of its run
  // in `data`, and its address. With no current byte, `position` points at
  // a 0 and the run ends there.
  size_t run = NOT_REWOUND;
  const uint8_t* position;
  const uint8_t* runEnd;
  uint32_t address;
};
