#pragma once
// Drives the compiler library as a host does: a private copy of the library is
// loaded for every test, so each test starts from the library's load state.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "file_io.h"
#include "plccomp.h"
#include "stdout_capture.h"
#include "temp_dir.h"

// clang-format off
#define PLCCOMP_EXPORT_LIST(X) \
  X(ResetCompiler) \
  X(SetCompilerSetting) \
  X(AddFreeRAMRange) \
  X(AddFreeFLASHRange) \
  X(AddFreeEEPROMRange) \
  X(GetLastErrorMsg) \
  X(AddHighLevelInstruction) \
  X(AddFixSymbol) \
  X(GetSymbolByName) \
  X(GetSymbolByInternalName) \
  X(StartCompile) \
  X(GetFirstByte) \
  X(GetNextByte) \
  X(GetCurrentByteAddress) \
  X(GetCurrentByteData) \
  X(GetFirstCodeLine) \
  X(GetFirstSymbol) \
  X(GetNextSymbol) \
  X(GetCurrentSymbolName) \
  X(GetCurrentSymbolType) \
  X(GetCurrentSymbolAddr) \
  X(GetCurrentSymbolBitID) \
  X(GetCurrentSymbolAccess) \
  X(IsCurrentSymbolFixed) \
  X(d_dumpPICcode) \
  X(d_dumpSymbols) \
  X(d_dumpIntcode)
// clang-format on

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
  testkit::TTempDir dir_;
  void* handle_ = nullptr;
};

std::vector<std::string> splitLines(const std::string& text);
// The messages of the trace lines, without "TRACE://file/line:".
std::vector<std::string> traceMessages(const std::string& output);
// Lines that are not trace lines (debug lines and the library's other lines).
std::vector<std::string> debugLines(const std::string& output);
bool hasLine(const std::vector<std::string>& lines, const std::string& line);
bool endsWith(const std::string& text, const std::string& end);
bool hasLineStartingWith(const std::vector<std::string>& lines, const std::string& start);

// One instruction as a host hands it over.
struct TInst {
  const char* inst;
  const char* arg1 = nullptr;
  const char* arg2 = nullptr;
  const char* arg3 = nullptr;
  short literal = 0;
};

// One record of the symbol table as the walk exports read it.
struct TSymbol {
  std::string name;
  std::string type;
  uint32_t addr;
  uint32_t bit;
  int32_t accessed;
  bool fixed;
  bool operator==(const TSymbol& o) const {
    return name == o.name && type == o.type && addr == o.addr && bit == o.bit && accessed == o.accessed &&
           fixed == o.fixed;
  }
};
std::ostream& operator<<(std::ostream& os, const TSymbol& s);

// "FF 00 03" as bytes.
std::vector<uint8_t> bytesOf(const std::string& hex);

class PlcComp : public ::testing::Test {
 protected:
  // The last error text as GetLastErrorMsg hands it out.
  std::string lastError();
  // Hands the instructions over; each must be accepted.
  void addProgram(const std::vector<TInst>& program);
  // The image through the stream reader routines; checks that the addresses
  // rise by one from the first, which it stores in firstAddress.
  std::vector<uint8_t> image(uint32_t* firstAddress = nullptr);
  // The whole table through the walk.
  std::vector<TSymbol> symbols();
  // The record under the cursor.
  TSymbol currentSymbol();
  // The record with this user name and lookup type; fails the test when missing.
  TSymbol symbol(const char* name, const char* type);

  TPlcCompLib lib;
};

// Starts every test from a total reset: debug lines off.
class Compiler : public PlcComp {
 protected:
  void SetUp() override { lib.ResetCompiler(COMPILER_RESET_LEVEL_TOTAL); }
};
