#include "plccomp_fixture.h"

#include <filesystem>
#include <regex>
#include <sstream>
#include <stdexcept>

#include "dynlib.h"

namespace fs = std::filesystem;

TPlcCompLib::TPlcCompLib() {
  const fs::path copy = dir_.File(fs::path(PLCCOMP_LIBRARY).filename().string());
  fs::copy_file(PLCCOMP_LIBRARY, copy);
  handle_ = plat_LoadLibrary(copy.string().c_str());
  if (!handle_) throw std::runtime_error(std::string("cannot load the compiler library: ") + plat_LoadError());
#define PLCCOMP_BIND(fn)                                              \
  fn = reinterpret_cast<decltype(fn)>(plat_FindSymbol(handle_, #fn)); \
  if (!fn) throw std::runtime_error("the compiler library does not export " #fn);
  PLCCOMP_EXPORT_LIST(PLCCOMP_BIND)
#undef PLCCOMP_BIND
}

TPlcCompLib::~TPlcCompLib() { plat_FreeLibrary(handle_); }

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> traceMessages(const std::string& output) {
  // The file part is a bare file name, never a path.
  static const std::regex trace(R"(^TRACE://[A-Za-z0-9_.]+\.cpp/[0-9]+:(.*)$)");
  std::vector<std::string> messages;
  std::smatch match;
  for (const std::string& line : splitLines(output))
    if (std::regex_match(line, match, trace)) messages.push_back(match[1]);
  return messages;
}

std::vector<std::string> debugLines(const std::string& output) {
  std::vector<std::string> lines;
  for (const std::string& line : splitLines(output))
    if (line.rfind("TRACE://", 0) != 0) lines.push_back(line);
  return lines;
}

bool hasLine(const std::vector<std::string>& lines, const std::string& line) {
  for (const std::string& l : lines)
    if (l == line) return true;
  return false;
}

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool hasLineStartingWith(const std::vector<std::string>& lines, const std::string& start) {
  for (const std::string& l : lines)
    if (l.rfind(start, 0) == 0) return true;
  return false;
}

std::string PlcComp::lastError() {
  std::vector<char> buffer(lib.GetLastErrorMsg(nullptr, 0) + 1);
  lib.GetLastErrorMsg(buffer.data(), static_cast<uint32_t>(buffer.size()));
  return buffer.data();
}

std::ostream& operator<<(std::ostream& os, const TSymbol& s) {
  return os << "{" << s.name << " " << s.type << " addr " << s.addr << " bit " << s.bit << " accessed " << s.accessed
            << (s.fixed ? " fixed" : "") << "}";
}

std::vector<uint8_t> bytesOf(const std::string& hex) {
  std::vector<uint8_t> bytes;
  std::istringstream in(hex);
  for (std::string byte; in >> byte;) bytes.push_back(static_cast<uint8_t>(std::stoul(byte, nullptr, 16)));
  return bytes;
}

void PlcComp::addProgram(const std::vector<TInst>& program) {
  for (const TInst& i : program)
    ASSERT_TRUE(lib.AddHighLevelInstruction(i.inst, i.arg1, i.arg2, i.arg3, i.literal))
        << i.inst << ": " << lastError();
}

std::vector<uint8_t> PlcComp::image(uint32_t* firstAddress) {
  std::vector<uint8_t> bytes;
  if (!lib.GetFirstByte()) return bytes;
  const uint32_t first = lib.GetCurrentByteAddress();
  if (firstAddress) *firstAddress = first;
  do {
    EXPECT_EQ(lib.GetCurrentByteAddress(), first + bytes.size());
    bytes.push_back(lib.GetCurrentByteData());
  } while (lib.GetNextByte());
  return bytes;
}

TSymbol PlcComp::currentSymbol() {
  return {lib.GetCurrentSymbolName(),  lib.GetCurrentSymbolType(),   lib.GetCurrentSymbolAddr(),
          lib.GetCurrentSymbolBitID(), lib.GetCurrentSymbolAccess(), lib.IsCurrentSymbolFixed()};
}

std::vector<TSymbol> PlcComp::symbols() {
  std::vector<TSymbol> table;
  if (!lib.GetFirstSymbol()) return table;
  do table.push_back(currentSymbol());
  while (lib.GetNextSymbol());
  return table;
}

TSymbol PlcComp::symbol(const char* name, const char* type) {
  EXPECT_TRUE(lib.GetSymbolByName(name, type)) << name << " " << type;
  return currentSymbol();
}
