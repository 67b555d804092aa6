#include "bsif.h"

#include <algorithm>
#include <new>

namespace {

template <typename Run>
bool sortByAddr(const Run& a, const Run& b) {
  return a.address < b.address;
}

}  // namespace

const uint8_t TByteStreamer::NO_DATA = 0;

TByteStreamer::TByteStreamer() { Unsettle(); }

void TByteStreamer::Clear(size_t expectedBytes) {
  data = {};
  runs = {};
  run = NOT_REWOUND;
  Unsettle();
  try {
    data.reserve(expectedBytes);
  } catch (const std::bad_alloc&) {
    // Only a hint: the buffer then grows as bytes come.
  }
}

void TByteStreamer::Append(uint32_t address, const uint8_t* bytes, size_t count) {
  if (count == 0) return;
  if (uint64_t{address} + count > uint64_t{UINT32_MAX} + 1 || count > UINT32_MAX) {
    // The addresses wrap: byte by byte.
    for (size_t k = 0; k < count; ++k) Append({address + static_cast<uint32_t>(k), bytes[k]});
    return;
  }
  if (!Continues(address, count)) runs.push_back({address, 0, data.size()});
  runs.back().length += static_cast<uint32_t>(count);
  data.insert(data.end(), bytes, bytes + count);
}

bool TByteStreamer::Settle() {
  if (run >= runs.size()) {
    Unsettle();
    return false;
  }
  position = data.data() + runs[run].first;
  runEnd = position + runs[run].length;
  address = runs[run].address;
  return true;
}

void TByteStreamer::Unsettle() {
  position = &NO_DATA;
  runEnd = position;
  address = 0;
}

bool TByteStreamer::SortByAddress() {
  const auto order = [](const TRun& a, const TRun& b) { return sortByAddr(a, b); };
  // Most files are written in address order already.
  if (!std::is_sorted(runs.begin(), runs.end(), order)) std::sort(runs.begin(), runs.end(), order);
  bool unique = true;
  for (size_t i = 1; i < runs.size(); ++i)
    if (runs[i].address < runs[i - 1].End()) unique = false;
  if (!unique) {
    // Overlapping runs: order byte by byte so that repeated addresses meet.
    SplitIntoSingleBytes();
    std::sort(runs.begin(), runs.end(), order);
  }
  return unique;
}

void TByteStreamer::SplitIntoSingleBytes() {
  std::vector<TRun> bytes;
  bytes.reserve(data.size());
  for (const TRun& whole : runs)
    for (uint32_t i = 0; i < whole.length; ++i) bytes.push_back({whole.address + i, 1, whole.first + i});
  runs.swap(bytes);
}
