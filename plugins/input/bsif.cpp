#include "bsif.h"

bool TByteStreamer::GetFirstByte() {
  cursor = 0;
  return !bytes.empty();
}

bool TByteStreamer::GetNextByte() {
  if (cursor == NOT_REWOUND)
    return false;
  if (cursor < bytes.size())
    ++cursor;
  return OnRecord();
}

uint32_t TByteStreamer::GetCurrentByteAddress() const {
  return OnRecord() ? bytes[cursor].address : 0;
}

uint8_t TByteStreamer::GetCurrentByteData() const {
  return OnRecord() ? bytes[cursor].data : 0;
}

void TByteStreamer::Clear() {
  bytes.clear();
  cursor = NOT_REWOUND;
}
