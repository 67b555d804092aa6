// Settings block, free ranges and the reset levels.
#include "settings.h"

#include <cstring>

#include "codegen.h"
#include "errorframe.h"
#include "include/plccomp.h"
#include "intake.h"
#include "symbols.h"
#include "tolvane_export.h"

unsigned char dll_settings[kSettingsCapacity];
uint32_t dll_settingsLen = 0;
uint32_t dll_intLimit = 0;
uint32_t dll_bitLimit = 0xFFFF;
uint32_t dll_flashStart = 0;
uint32_t dll_flashEnd = 0xFFFF;

namespace {

// The whole address: Windows' long has 32 bits also in a 64-bit build.
unsigned long long pointerValue(const void* p) {
  return static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(p));
}

void zeroSettings() { std::memset(dll_settings, 0, sizeof dll_settings); }

// A total reset that leaves the debug flag on and this trace mask.
void debugResetWithMask(uint32_t mask) {
  dll_traceMask = mask;
  ResetCompiler(COMPILER_RESET_LEVEL_DEBUG);
  dll_traceMask = mask;
}

void totalReset() {
  dll_debug = false;
  dll_traceMask = 0x1001;
  plc_clearLastError();
  WipeHighLevelCode();
  WipeCodeMemory();
  WipeSymbolMap(true);
  zeroSettings();
}

}  // namespace

TOLVANE_EXPORT bool SetCompilerSetting(const unsigned char* data, uint32_t length) {
  PLC_TRACE(TRACE_FAILURES, "SetCompilerSetting(0x%llX, %d):", pointerValue(data), static_cast<int>(length));
  bool refused = length > kSettingsCapacity;
  // The byte code behind the block is read back as 16-bit words from the
  // image start, so an odd block would put every record across two words.
  // The host reads why with GetLastErrorMsg.
  if (!refused && data && (length & 1u) != 0) {
    plc_setLastError("SetCompilerSetting",
                     "Parameter error (length=%u): odd length, the byte code must start on a word boundary", length);
    dbp("SetCompilerSetting(): odd block length (%u) refused, the byte code must start on a word boundary", length);
    refused = true;
  }
  if (refused) {
    PLC_TRACE(TRACE_FAILURES, "SetCompilerSetting(0x%llX, %d) => FALSE", pointerValue(data), static_cast<int>(length));
    return false;
  }
  zeroSettings();
  if (!data) {
    dll_settingsLen = 0;
  } else {
    dll_settingsLen = length;
    if (length) std::memcpy(dll_settings, data, length);
  }
  PLC_TRACE(TRACE_FAILURES, "SetCompilerSetting(0x%llX, %d) => TRUE", pointerValue(data), static_cast<int>(length));
  return true;
}

TOLVANE_EXPORT void AddFreeRAMRange(uint32_t intLimit, uint32_t bitLimit) {
  dll_intLimit = intLimit;
  dll_bitLimit = bitLimit;
}

TOLVANE_EXPORT void AddFreeFLASHRange(uint32_t start, uint32_t end) {
  dll_flashStart = start;
  dll_flashEnd = end;
}

TOLVANE_EXPORT void AddFreeEEPROMRange(uint32_t, uint32_t) {}

TOLVANE_EXPORT void ResetCompiler(int level) {
  PLC_TRACE(TRACE_FLOW, "ResetCompiler(%d):", level);
  plc_frame(
      0, [](int code) { PLC_TRACE(TRACE_FAILURES, "ResetCompiler() => Exiting due to oops(%d)", code); },
      [&] {
        const uint32_t mask = (static_cast<uint32_t>(level) >> 8) & 0xFFFF;
        switch (level & 0xFF) {
          case COMPILER_RESET_LEVEL_TOTAL:
            PLC_TRACE(TRACE_FLOW, "ResetCompiler(): COMPILER_RESET_LEVEL_TOTAL(=%d)", 0);
            totalReset();
            break;
          case COMPILER_RESET_LEVEL_DEBUG:
            PLC_TRACE(TRACE_FLOW, "ResetCompiler(): COMPILER_RESET_LEVEL_DEBUG(=%d)", 1);
            dll_debug = true;
            ResetCompiler(COMPILER_RESET_LEVEL_TOTAL);
            dll_debug = true;
            break;
          case COMPILER_RESET_LEVEL_TRACE:
            PLC_TRACE(TRACE_FLOW, "ResetCompiler(): COMPILER_RESET_LEVEL_TRACE(=%d)", 2);
            debugResetWithMask(0x0001);
            break;
          case COMPILER_RESET_LEVEL_TRACE_MASK: debugResetWithMask(mask); break;
          case COMPILER_RESET_LEVEL_COMPILER_SETTINGS_ONLY:
            PLC_TRACE(TRACE_FLOW, "ResetCompiler(): COMPILER_RESET_LEVEL_COMPILER_SETTINGS_ONLY(=%d)", 254);
            zeroSettings();
            break;
          case COMPILER_RESET_LEVEL_TRACE_FULL:
            PLC_TRACE(TRACE_FLOW, "ResetCompiler(): COMPILER_RESET_LEVEL_TRACE_FULL(=%d)", 255);
            debugResetWithMask(0xFFFF);
            break;
          default:
            dbp("ResetCompiler(): Unknown reset level (%d), executing full reset!", level);
            ResetCompiler(COMPILER_RESET_LEVEL_TOTAL);
            break;
        }
        PLC_TRACE(TRACE_FLOW, "ResetCompiler(%d) => void", level);
        return 0;
      });
}
