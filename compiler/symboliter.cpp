// The walk over the symbol table and the getters of the current symbol.
#include <cstring>

#include "errorframe.h"
#include "include/plccomp.h"
#include "symbols.h"
#include "tolvane_export.h"

namespace {

const char* const kUnknownType = "????";

bool firstSymbol() {
  PLC_TRACE(TRACE_FLOW, "GetFirstSymbol():");
  return plc_frame(
      false, [](int code) { PLC_TRACE(TRACE_FAILURES, "GetFirstSymbol() Exiting due to oops(%d) => FALSE", code); },
      [] {
        dll_curr_symbol = 0;
        const bool found = !Symbols.empty();
        PLC_TRACE(TRACE_FLOW, "GetFirstSymbol() => %s", plc_bool(found));
        return found;
      });
}

// The current symbol, or nullptr after the getter's lines for a missing one.
SymbolRecord* currentOrReport(const char* getter, const char* defaultText) {
  SymbolRecord* record = plc_currentSymbol();
  if (!record) {
    dbp("%s(): NULL pointer detected.", getter);
    PLC_TRACE(TRACE_FAILURES, "%s(): global variable 'dll_curr_symbol' == NULL!", getter);
    PLC_TRACE(TRACE_FAILURES, "%s() => %s", getter, defaultText);
  }
  return record;
}

// The six getters share their shape: read picks the value, showResult
// writes the exit line for a value read.
template <typename R, typename Read, typename Show>
R currentSymbolGetter(const char* getter, R fallback, const char* fallbackText, bool oopsLine, Read read,
                      Show showResult) {
  PLC_TRACE(TRACE_FLOW, "%s():", getter);
  return plc_frame(
      fallback,
      [&](int code) {
        if (oopsLine) PLC_TRACE(TRACE_FAILURES, "%s() Exiting due to oops(%d) => %s", getter, code, fallbackText);
      },
      [&] {
        const SymbolRecord* record = currentOrReport(getter, fallbackText);
        if (!record) return fallback;
        const R value = read(*record);
        showResult(value);
        return value;
      });
}

template <typename R, typename Read>
R numericGetter(const char* getter, R fallback, const char* fallbackText, bool oopsLine, Read read) {
  return currentSymbolGetter(getter, fallback, fallbackText, oopsLine, read, [getter](R value) {
    const unsigned long shown = static_cast<uint32_t>(value);
    PLC_TRACE(TRACE_FLOW, "%s() => %lu(=0x%lX)", getter, shown, shown);
  });
}

const char* typeOfName(const char* name) {
  if (std::strncmp(name, "ram_int", 7) == 0) return "INT";
  if (std::strncmp(name, "ram_bit", 7) == 0) return "BIT";
  if (std::strncmp(name, "ram_byt", 7) == 0) return "BYTE";
  if (std::strncmp(name, "lbl", 3) == 0) return "LABEL";
  return kUnknownType;
}

}  // namespace

TOLVANE_EXPORT bool GetFirstSymbol() { return firstSymbol(); }

TOLVANE_EXPORT bool GetNextSymbol() {
  PLC_TRACE(TRACE_FLOW, "GetNextSymbol():");
  return plc_frame(
      false, [](int code) { PLC_TRACE(TRACE_FAILURES, "GetNextSymbol() Exiting due to oops(%d) => FALSE", code); },
      [] {
        if (dll_curr_symbol == kCursorUnset) {
          PLC_TRACE(TRACE_FLOW, "GetNextSymbol(): Seeking to first symbol");
          return firstSymbol();
        }
        const size_t next = static_cast<size_t>(dll_curr_symbol) + 1;
        if (next < Symbols.size()) {
          dll_curr_symbol = static_cast<long>(next);
          PLC_TRACE(TRACE_FLOW, "GetNextSymbol() => TRUE");
          return true;
        }
        PLC_TRACE(TRACE_FLOW, "GetNextSymbol() => Trying to read past end of 'Symbols'");
        dll_curr_symbol = Symbols.empty() ? 0 : static_cast<long>(Symbols.size()) - 1;
        PLC_TRACE(TRACE_FLOW, "GetNextSymbol() => FALSE");
        return false;
      });
}

TOLVANE_EXPORT uint32_t GetCurrentSymbolAddr() {
  return numericGetter<uint32_t>("GetCurrentSymbolAddr", 0, "0", true, [](const SymbolRecord& r) { return r.addr; });
}

TOLVANE_EXPORT uint32_t GetCurrentSymbolBitID() {
  return numericGetter<uint32_t>("GetCurrentSymbolBitID", 0xFFFFFFFF, "-1", false,
                                 [](const SymbolRecord& r) { return r.bitID; });
}

TOLVANE_EXPORT int32_t GetCurrentSymbolAccess() {
  return numericGetter<int32_t>("GetCurrentSymbolAccess", 0, "0", true,
                                [](const SymbolRecord& r) { return r.accessed; });
}

TOLVANE_EXPORT bool IsCurrentSymbolFixed() {
  return currentSymbolGetter(
      "IsCurrentSymbolFixed", false, "FALSE", true, [](const SymbolRecord& r) { return r.fixed != 0; },
      [](bool fixed) { PLC_TRACE(TRACE_FLOW, "IsCurrentSymbolFixed() => %s", plc_bool(fixed)); });
}

TOLVANE_EXPORT const char* GetCurrentSymbolName() {
  static const char kEmpty[] = "";
  return currentSymbolGetter(
      "GetCurrentSymbolName", static_cast<const char*>(kEmpty), "\"\"", true,
      [](const SymbolRecord& r) { return r.name; },
      [](const char* name) { PLC_TRACE(TRACE_FLOW, "GetCurrentSymbolName() => \"%s\"", name); });
}

TOLVANE_EXPORT const char* GetCurrentSymbolType() {
  return currentSymbolGetter(
      "GetCurrentSymbolType", kUnknownType, "\"????\"", true,
      [](const SymbolRecord& r) {
        const char* type = typeOfName(r.name);
        if (type == kUnknownType)
          PLC_TRACE(TRACE_FLOW, "GetCurrentSymbolType(): symbol(=\"%s\") type not identified ", r.name);
        return type;
      },
      [](const char* type) { PLC_TRACE(TRACE_FLOW, "GetCurrentSymbolType() => \"%s\"", type); });
}
