#pragma once
// Drives libplccomp.so as a host does: a private copy of the library is
// loaded for every test, so each test starts from the library's load state.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "plccomp.h"

#define PLCCOMP_EXPORT_LIST(X)                                                                     \
  X(ResetCompiler) X(SetCompilerSetting) X(AddFreeRAMRange) X(AddFreeFLASHRange) X(AddFreeEEPROMRange) \
  X(GetLastErrorMsg) X(AddHighLevelInstruction) \
  X(AddFixSymbol) X(GetSymbolByName) X(GetSymbolByInternalName)

// Test case records of parameterized tests name themselves by their `what`.
template <typename T, typename = decltype(std::declval<const T&>().what + 0)>
std::ostream& operator<<(std::ostream& os, const T& testCase) {
  return os << testCase.what;
}

class TPlcCompLib {
 public:
  TPlcCompLib();
  ~TPlcCompLib();
  TPlcCompLib(const TPlcCompLib&) = delete;
  TPlcCompLib& operator=(const TPlcCompLib&) = delete;

  void* handle() const { return handle_; }

#define PLCCOMP_MEMBER(name) decltype(&::name) name = nullptr;
  PLCCOMP_EXPORT_LIST(PLCCOMP_MEMBER)
#undef PLCCOMP_MEMBER

 private:
  std::string dir_;
  void* handle_ = nullptr;
};

// Collects what the library writes to standard output.
class TStdoutCapture {
 public:
  TStdoutCapture();
  ~TStdoutCapture();
  std::string finish();

 private:
  bool active_ = true;
};

std::vector<std::string> splitLines(const std::string& text);
// The messages of the trace lines, without "TRACE://file/line:".
std::vector<std::string> traceMessages(const std::string& output);
// Lines that are not trace lines (debug lines and the library's other lines).
std::vector<std::string> debugLines(const std::string& output);
bool hasLine(const std::vector<std::string>& lines, const std::string& line);
bool endsWith(const std::string& text, const std::string& end);
bool hasLineStartingWith(const std::vector<std::string>& lines, const std::string& start);

// A temporary folder removed with its contents at the end of the test.
class TTempDir {
 public:
  TTempDir();
  ~TTempDir();
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

std::string readFile(const std::string& path);

class PlcComp : public ::testing::Test {
 protected:
  // The last error text as GetLastErrorMsg hands it out.
  std::string lastError();

  TPlcCompLib lib;
};
