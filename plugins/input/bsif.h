#pragma once
// The memory image of an input plug-in: one record per byte, walked in order.
#include <cstddef>
#include <cstdint>
#include <vector>

struct MemoryDataTag {
  uint32_t address;
  uint8_t data;
};

class TByteStreamer {
public:
  // Rewinds to the first record; true when the image holds one.
  bool GetFirstByte();
  // Advances one record; false once the walk has passed the last one, and
  // before the first rewind.
  bool GetNextByte();
  // Address and data of the current record, 0 when no record is current.
  uint32_t GetCurrentByteAddress() const;
  uint8_t GetCurrentByteData() const;

  void Append(uint32_t address, uint8_t data) { bytes.push_back({address, data}); }

protected:
  // Drops the image and the position.
  void Clear();

  std::vector<MemoryDataTag> bytes;

private:
  static constexpr size_t NOT_REWOUND = SIZE_MAX;
  bool OnRecord() const { return cursor < bytes.size(); }

  size_t cursor = NOT_REWOUND;
};
