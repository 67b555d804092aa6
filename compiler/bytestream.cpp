#include "bytestream.h"

#include <cstring>

#include "codegen.h"
#include "errorframe.h"
#include "intake.h"
#include "settings.h"
#include "tolvane_export.h"

namespace {

constexpr long kBeforeFirstRecord = -1;

// The unit in hand is a copy: the settings block as it was at the rewind, or
// the image bytes of a record as they were when the stream entered it.
unsigned char bs_unit[kSettingsCapacity];
int32_t bs_unitLength = 0;
int32_t dll_bs_bytesRemain = 0;
uint32_t bs_address = 0;
long bs_record = kBeforeFirstRecord;
// The PicProg list the stream was rewound over; an emptied list is never stepped through.
uint64_t bs_generation = 0;

bool isEmitted(uint32_t op) {
  if (op == OP_COMMENT) return false;
  if (op >= OP_SIMULATE_NODE_STATE && op <= OP_COMMENT && !plc_isExecutableOp(op)) return false;
  return !isInvalidOp(op);
}

// Moves the record in hand to the next emitted record and takes its bytes.
bool GetBSNextCodeLineNoComment() {
  PLC_TRACE(TRACE_FLOW, "GetBSNextCodeLineNoComment():");
  if (bs_generation == plc_picProgGeneration) {
    const long count = static_cast<long>(PicProg.size());
    for (long pos = bs_record + 1; pos < count; ++pos) {
      if (!isEmitted(PicProg[pos].op)) continue;
      bs_record = pos;
      plc_recordImage(PicProg[pos], bs_unit);
      bs_unitLength = kRecordImageSize;
      dll_bs_bytesRemain = kRecordImageSize;
      PLC_TRACE(TRACE_FLOW, "GetBSNextCodeLineNoComment() => TRUE");
      return true;
    }
    bs_record = count - 1;
  }
  PLC_TRACE(TRACE_FLOW, "GetBSNextCodeLineNoComment() => Trying to read past end of 'PicProg'");
  PLC_TRACE(TRACE_FLOW, "GetBSNextCodeLineNoComment() => FALSE");
  return false;
}

}  // namespace

bool plc_bsImageFits() {
  uint64_t length = dll_settingsLen;
  for (const BytecodeInstruction& record : PicProg)
    if (isEmitted(record.op)) length += kRecordImageSize;
  return uint64_t{dll_flashStart} + length <= uint64_t{1} << 32;
}

bool plc_bsInLastRecord() {
  return bs_generation == plc_picProgGeneration && bs_record != kBeforeFirstRecord &&
         bs_record == static_cast<long>(PicProg.size()) - 1;
}

TOLVANE_EXPORT bool GetFirstByte() {
  PLC_TRACE(TRACE_FLOW, "GetFirstByte():");
  return plc_frame(
      false, [](int code) { PLC_TRACE(TRACE_FAILURES, "GetFirstByte() Exiting due to oops(%d) => FALSE", code); },
      [] {
        bs_address = dll_flashStart;
        dll_bs_bytesRemain = 0;
        bs_record = kBeforeFirstRecord;
        bs_generation = plc_picProgGeneration;
        if (PicProg.empty()) {
          PLC_TRACE(TRACE_FAILURES, "GetFirstByte(): ByteCode is empty");
          PLC_TRACE(TRACE_FAILURES, "GetFirstByte() => FALSE");
          return false;
        }
        if (!plc_bsImageFits()) {
          PLC_TRACE(TRACE_FAILURES, "GetFirstByte(): image runs past address 0xFFFFFFFF from 0x%lX",
                    static_cast<unsigned long>(dll_flashStart));
          PLC_TRACE(TRACE_FAILURES, "GetFirstByte() => FALSE");
          return false;
        }
        std::memcpy(bs_unit, dll_settings, dll_settingsLen);
        bs_unitLength = static_cast<int32_t>(dll_settingsLen);
        dll_bs_bytesRemain = bs_unitLength;
        const bool found = dll_bs_bytesRemain > 0 || GetBSNextCodeLineNoComment();
        PLC_TRACE(TRACE_FLOW, "GetFirstByte(): %d bytes remaining from this instruction", dll_bs_bytesRemain);
        return found;
      });
}

TOLVANE_EXPORT bool GetNextByte() {
  PLC_TRACE(TRACE_FLOW, "GetNextByte():");
  return plc_frame(
      false, [](int code) { PLC_TRACE(TRACE_FAILURES, "GetNextByte() Exiting due to oops(%d) => FALSE", code); },
      [] {
        --dll_bs_bytesRemain;
        if (dll_bs_bytesRemain > 0) {
          ++bs_address;
          PLC_TRACE(TRACE_FLOW, "GetNextByte() => TRUE");
          return true;
        }
        PLC_TRACE(TRACE_FLOW, "GetNextByte(): Get next instruction");
        dll_bs_bytesRemain = 0;
        if (!GetBSNextCodeLineNoComment()) {
          PLC_TRACE(TRACE_FLOW, "GetNextByte() => FALSE");
          return false;
        }
        ++bs_address;
        PLC_TRACE(TRACE_FLOW, "GetNextByte() => TRUE");
        return true;
      });
}

TOLVANE_EXPORT uint8_t GetCurrentByteData() {
  PLC_TRACE(TRACE_FLOW, "GetCurrentByteData():");
  return plc_frame(
      static_cast<uint8_t>(0xFF),
      [](int code) { PLC_TRACE(TRACE_FAILURES, "GetCurrentByteData() Exiting due to oops(%d) => 0xFF", code); },
      [] {
        uint8_t value = 0xFF;
        if (dll_bs_bytesRemain > 0)
          value = bs_unit[bs_unitLength - dll_bs_bytesRemain];
        else
          dbp("GetCurrentByteData(): Invalid state for ByteStreamer.");
        PLC_TRACE(TRACE_FLOW, "GetCurrentByteData() => %d", value);
        return value;
      });
}

TOLVANE_EXPORT uint32_t GetCurrentByteAddress() {
  PLC_TRACE(TRACE_FLOW, "GetCurrentByteAddress():");
  return plc_frame(
      static_cast<uint32_t>(0xFFFFFFFF),
      [](int code) {
        PLC_TRACE(TRACE_FAILURES, "GetCurrentByteAddress() Exiting due to oops(%d) => 0xFFFFFFFF", code);
      },
      [] {
        PLC_TRACE(TRACE_FLOW, "GetCurrentByteAddress() => %lu(=0x%lX)", static_cast<unsigned long>(bs_address),
                  static_cast<unsigned long>(bs_address));
        return bs_address;
      });
}

TOLVANE_EXPORT bool GetFirstCodeLine() {
  PLC_TRACE(TRACE_FLOW, "GetFirstCodeLine():");
  return plc_frame(
      false, [](int code) { PLC_TRACE(TRACE_FAILURES, "GetFirstCodeLine() Exiting due to oops(%d) => FALSE", code); },
      [] {
        // Nothing in the library reads a code-line cursor: the answer is all that remains of it.
        const bool found = !PicProg.empty();
        PLC_TRACE(TRACE_FLOW, "GetFirstCodeLine() => %s", plc_bool(found));
        return found;
      });
}
