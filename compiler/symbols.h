#pragma once
// The symbol table: integer and bit variables and code labels under their
// internal names, with access counts, fixed symbols and the current symbol.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string_view>
#include <unordered_map>

constexpr int kSymbolNameSize = 260;
constexpr unsigned kSymbolNameLimit = 256;  // characters of an internal name

struct SymbolRecord {
  char name[kSymbolNameSize];
  uint32_t addr;
  uint32_t bitID;
  int32_t accessed;
  uint8_t fixed;
};

// Records in order; appending never moves a record, so code generation can
// keep references to them. The index beside the records answers lookups by
// name without scanning; it never changes which record is found, since names
// are unique.
class TSymbolTable {
 public:
  static constexpr size_t npos = static_cast<size_t>(-1);

  size_t size() const { return records_.size(); }
  bool empty() const { return records_.empty(); }
  SymbolRecord& at(size_t pos) { return records_[pos]; }
  std::deque<SymbolRecord>::iterator begin() { return records_.begin(); }
  std::deque<SymbolRecord>::iterator end() { return records_.end(); }

  // Position of the record named name, or npos. With detail tracing on, the
  // table is scanned front to back so that every comparison is traced.
  size_t find(const char* name) const;
  // Appends a zeroed record named name (at most kSymbolNameLimit characters).
  SymbolRecord& append(const char* name);
  void clear();
  void removeUnfixed();
  // Largest access count first; equal counts in no defined order.
  void sortByAccess();

 private:
  void rebuildIndex();

  std::deque<SymbolRecord> records_;
  std::unordered_map<std::string_view, size_t> index_;
};

extern TSymbolTable Symbols;

// The current symbol: -1 while never placed, else a position in Symbols
// (no current symbol when the position is past the end).
constexpr long kCursorUnset = -1;
extern long dll_curr_symbol;
SymbolRecord* plc_currentSymbol();

// Find-or-insert by internal name; counts no access.
SymbolRecord& addSymbol(const char* name);
// Find-or-insert of a variable or label; each counts one access.
SymbolRecord& AddRAMIntegerSymbol(const char* name);
SymbolRecord& AddRAMBitSymbol(const char* name);
SymbolRecord& AddCodeLabelSymbol(unsigned block, unsigned role);

void WipeSymbolMap(bool all);
void WipeSymbolAccesses();
