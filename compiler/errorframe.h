#pragma once
// The error frame around the exports: an internal error (ErrorAbort) or a
// compile error (AbortCompile) raised anywhere below an export ends the
// innermost running export with its default result. Nothing is rolled back.
#include <exception>

#include "trace.h"

// Error codes an error carries to the export that ends.
enum : int {
  ERROR_INTERNAL = 1,  // internal consistency failure
  ERROR_COMPILE = 1,   // a program that cannot be compiled
  ERROR_OUT_OF_VARIABLES = 5
};

// An error on its way to the innermost frame.
struct TCompileAbort {
  int code;
};

[[noreturn]] void ErrorAbort(int code, int sourceLine, const char* sourceFile, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
[[noreturn]] void AbortCompile(int code, const char* format, ...) __attribute__((format(printf, 2, 3)));

// arm true: arms the guard. arm false: jumps to the innermost frame with code.
void SafeLongJmp(bool arm, int code);

#define PLC_ERROR_ABORT(code) ErrorAbort((code), __LINE__, plc_baseName(__FILE__), nullptr)

// The last error text, read by GetLastErrorMsg.
constexpr int kLastErrorSize = 5000;
extern char lastErrorMsg[kLastErrorSize];
void plc_clearLastError();
// Formats the last error text, cut to 4999 characters; a cut is reported by
// the debug line "<writer>(): printf buffer too small, error message truncated".
void plc_setLastError(const char* writer, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Counts the frames that are running, so that a jump without a frame is seen.
class TErrorFrame {
 public:
  TErrorFrame() { ++depth_; }
  ~TErrorFrame() { --depth_; }
  TErrorFrame(const TErrorFrame&) = delete;
  TErrorFrame& operator=(const TErrorFrame&) = delete;
  static bool armed() { return depth_ > 0; }

 private:
  static int depth_;
};

// Turns a C++ exception from below an export (out of memory) into an internal
// error report and gives its code.
int plc_reportUnexpected(const std::exception& e);

// Runs body in an error frame and gives its result. When an error ends the
// body, the frame is left and onError(code) gives the export's result.
template <typename OnError, typename Body>
auto plc_frameWithCode(OnError&& onError, Body&& body) -> decltype(body()) {
  int code;
  {
    TErrorFrame frame;
    try {
      return body();
    } catch (const TCompileAbort& abort) {
      code = abort.code;
    } catch (const std::exception& e) {
      code = plc_reportUnexpected(e);
    }
  }
  return onError(code);
}

// The same for exports with a fixed default: onError(code) writes the
// export's error exit line and the fallback is returned.
template <typename R, typename OnError, typename Body>
R plc_frame(R fallback, OnError&& onError, Body&& body) {
  return plc_frameWithCode(
      [&](int code) -> R {
        onError(code);
        return fallback;
      },
      [&]() -> R { return body(); });
}
