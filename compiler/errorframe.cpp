#include "errorframe.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "include/plccomp.h"
#include "nullstrings.h"
#include "tolvane_export.h"

char lastErrorMsg[kLastErrorSize];
int TErrorFrame::depth_ = 0;

namespace {

constexpr int kAbortInfoSize = 4096;
constexpr int kCompileInfoSize = 10240;
const char* const kNoInfo = "<no additional info>";

// Formats the additional information of an error into info.
void formatInfo(char* info, int size, const char* writer, const char* format, va_list args) {
  if (!format) {
    std::snprintf(info, size, "%s", kNoInfo);
    return;
  }
  int needed = std::vsnprintf(info, size, format, args);
  if (needed < 0) info[0] = '\0';
  if (needed >= size) dbp("%s(): printf buffer too small, additional info truncated", writer);
}

void setLastErrorVa(const char* writer, const char* format, va_list args) {
  int needed = std::vsnprintf(lastErrorMsg, kLastErrorSize, format, args);
  if (needed < 0) lastErrorMsg[0] = '\0';
  if (needed >= kLastErrorSize) dbp("%s(): printf buffer too small, error message truncated", writer);
  lastErrorMsg[kLastErrorSize - 1] = '\0';
}

// Steps of an internal error up to the jump; gives the code the jump carries.
int reportInternalError(int code, int sourceLine, const char* sourceFile, const char* info) {
  plc_setLastError("ErrorAbort", "Compiler internal error code: %s", info);
  dbp("Error in %s v. %s at line %d in source file '%s'\nAdditional info:\n%s", "COMPILER BYTECODE", "0.9", sourceLine,
      sourceFile, info);
  PLC_TRACE(TRACE_FAILURES, "ErrorAbort(...): --> longjmp");
  return code == 0 ? -1 : code;
}

[[noreturn]] void jump(int code) {
  SafeLongJmp(false, code);
  __builtin_unreachable();
}

}  // namespace

void plc_clearLastError() { lastErrorMsg[0] = '\0'; }

void plc_setLastError(const char* writer, const char* format, ...) {
  va_list args;
  va_start(args, format);
  setLastErrorVa(writer, format, args);
  va_end(args);
}

void SafeLongJmp(bool arm, int code) {
  PLC_TRACE(TRACE_DETAIL, "SafeLongJmp(%s, %d):", plc_bool(arm), code);
  if (arm) {
    PLC_TRACE(TRACE_DETAIL, "SafeLongJmp(): Situation: first call, setting tracable jmpbuf");
    PLC_TRACE(TRACE_DETAIL, "SafeLongJmp() => void");
    return;
  }
  PLC_TRACE(TRACE_DETAIL, "SafeLongJmp(): Situation: real jump");
  SafeLongJmp(true, 2);
  PLC_TRACE(TRACE_FAILURES, "SafeLongJmp(): Executing jump");
  if (!TErrorFrame::armed()) {
    // Only the guard would catch this jump; every path of the library runs
    // under an export's frame, so this is not reached.
    dbp("SafeLongJmp(): unhandled /long jump/! Possible system crash!");
    PLC_TRACE(TRACE_FAILURES, "SafeLongJmp() => void");
    std::abort();
  }
  throw TCompileAbort{code};
}

void ErrorAbort(int code, int sourceLine, const char* sourceFile, const char* format, ...) {
  PLC_TRACE(TRACE_FAILURES, "ErrorAbort(...):");
  char info[kAbortInfoSize];
  va_list args;
  va_start(args, format);
  formatInfo(info, sizeof info, "ErrorAbort", format, args);
  va_end(args);
  jump(reportInternalError(code, sourceLine, sourceFile, info));
}

void AbortCompile(int code, const char* format, ...) {
  PLC_TRACE(TRACE_FAILURES, "AbortCompile(...):");
  char info[kCompileInfoSize];
  va_list args;
  va_start(args, format);
  formatInfo(info, sizeof info, "AbortCompile", format, args);
  va_end(args);
  PLC_TRACE(TRACE_FAILURES, "AbortCompile(%d, \"%s\")", code, info);
  plc_setLastError("AbortCompile", "Could not compile (%d):\n%s", code, info);
  dbp("Aborted compile (Error code=%d):\nAdditional info:'%s'", code, info);
  PLC_TRACE(TRACE_FAILURES, "AbortCompile(...): --> longjmp");
  jump(code == 0 ? -1 : code);
}

int plc_reportUnexpected(const std::exception& e) {
  PLC_TRACE(TRACE_FAILURES, "ErrorAbort(...):");
  const char* info = dynamic_cast<const std::bad_alloc*>(&e) ? "out of memory" : e.what();
  return reportInternalError(ERROR_INTERNAL, __LINE__, plc_baseName(__FILE__), info);
}

TOLVANE_EXPORT uint32_t GetLastErrorMsg(char* dstBuf, uint32_t size) {
  // The caller's buffer is not read on entry: it need not hold text.
  PLC_TRACE(TRACE_FLOW, "GetLastErrorMsg(%s%s%s, %lu):", dstBuf ? "\"" : "", dstBuf ? "" : "NULL", dstBuf ? "\"" : "",
            static_cast<unsigned long>(size));
  lastErrorMsg[kLastErrorSize - 1] = '\0';
  const bool copied = dstBuf && size != 0;
  if (copied) {
    dbp("GetLastErrorMsg(): copying 'lastErrorMsg' to 'dstBuf'");
    std::snprintf(dstBuf, size, "%s", lastErrorMsg);
  }
  const uint32_t length = strlennull(lastErrorMsg);
  PLC_TRACE(TRACE_FLOW, "GetLastErrorMsg(%s%s%s, %lu) => %lu", dstBuf ? "\"" : "",
            dstBuf ? (copied ? dstBuf : "") : "NULL", dstBuf ? "\"" : "", static_cast<unsigned long>(size),
            static_cast<unsigned long>(length));
  return length;
}
