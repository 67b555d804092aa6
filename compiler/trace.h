#pragma once
// Console diagnostics of the compiler library: debug lines (dbp) and trace
// lines (debugTracePrint) gated by the debug flag and the trace mask.
#include <cstdarg>
#include <cstdint>

extern bool dll_debug;
extern uint32_t dll_traceMask;

// Trace mask bits.
enum : uint32_t {
  TRACE_FAILURES = 0x0001,  // failures, error exits, milestones
  TRACE_WARNINGS = 0x0002,  // allocation warnings
  TRACE_DETAIL = 0x0004,    // small routines, every comparison of a scan
  TRACE_FLOW = 0x1000       // entries and exits, stream and cursor steps
};

void dbp(const char* format, ...) __attribute__((format(printf, 1, 2)));
void dbp_va(const char* format, va_list args) __attribute__((format(printf, 1, 0)));
void debugTracePrint(int mask, int sourceLine, const char* sourceFile, const char* format, ...)
    __attribute__((format(printf, 4, 5)));

inline bool plc_traceOn(uint32_t mask) { return dll_debug && (dll_traceMask & mask) != 0; }

// The file part of a source path, so that lines show "symbols.cpp", never a build path.
constexpr const char* plc_baseName(const char* path) {
  const char* base = path;
  for (const char* p = path; *p; ++p)
    if (*p == '/' || *p == '\\') base = p + 1;
  return base;
}

// A trace line whose gate is closed evaluates none of its arguments.
#define PLC_TRACE(mask, ...)                                                                       \
  do {                                                                                             \
    if (plc_traceOn(mask)) debugTracePrint((mask), __LINE__, plc_baseName(__FILE__), __VA_ARGS__); \
  } while (0)

// Fills the three %s of a string argument: quoted text, or NULL without quotes.
#define PLC_Q(s) ((s) ? "\"" : ""), ((s) ? (s) : "NULL"), ((s) ? "\"" : "")

inline const char* plc_bool(bool b) { return b ? "TRUE" : "FALSE"; }
