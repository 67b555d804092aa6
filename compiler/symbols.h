#pragma once
// The symbol table: integer and bit variables and code labels under their
// internal names, with access counts, fixed symbols and the current symbol.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

constexpr unsigned kSymbolNameLimit = 256;  // characters of an internal name

struct SymbolRecord {
  uint32_t addr;
  uint32_t bitID;
  int32_t accessed;
  uint8_t fixed;
  const char* name;  // the internal name, NUL-terminated, held by the table
};

// Holds names at addresses that stay put until the store is cleared.
class TNameStore {
 public:
  const char* store(std::string_view name);
  void clear();

 private:
  static constexpr size_t kBlockSize = 64 * 1024;
  std::vector<std::unique_ptr<char[]>> blocks_;
  size_t used_ = kBlockSize;  // bytes taken in the last block
};

// Records in order, kept in chunks: appending never moves a record, so code
// generation can keep references to them. Records are small, the names kept
// apart, so that a growing table stays close together in memory. The index
// beside the records answers lookups by name without scanning; it never
// changes which record is found, since names are unique.
class TSymbolTable {
 public:
  static constexpr size_t npos = static_cast<size_t>(-1);

  class iterator {
   public:
    iterator(TSymbolTable& table, size_t pos) : table_(&table), pos_(pos) {}
    SymbolRecord& operator*() const { return table_->at(pos_); }
    iterator& operator++() {
      ++pos_;
      return *this;
    }
    bool operator!=(const iterator& o) const { return pos_ != o.pos_; }

   private:
    TSymbolTable* table_;
    size_t pos_;
  };

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  SymbolRecord& at(size_t pos) { return chunks_[pos >> kChunkBits][pos & (kChunkSize - 1)]; }
  const SymbolRecord& at(size_t pos) const { return chunks_[pos >> kChunkBits][pos & (kChunkSize - 1)]; }
  iterator begin() { return iterator(*this, 0); }
  iterator end() { return iterator(*this, size_); }

  // Position of the record named name (length characters), or npos. With
  // detail tracing on, the table is scanned front to back so that every
  // comparison is traced.
  size_t find(const char* name, size_t length) const;
  // Appends a zeroed record named name (at most kSymbolNameLimit characters).
  SymbolRecord& append(std::string_view name);
  void clear();
  void removeUnfixed();
  // Largest access count first; equal counts in the order they stood.
  void sortByAccess();

 private:
  static constexpr size_t kChunkBits = 10;
  static constexpr size_t kChunkSize = size_t{1} << kChunkBits;
  using TChunks = std::vector<std::unique_ptr<SymbolRecord[]>>;

  // One slot of the open-addressing index: the name's hash and the record's
  // position plus one (0: empty slot).
  struct TSlot {
    uint32_t hash;
    uint32_t position;
  };

  static uint32_t hashOf(std::string_view name);
  static SymbolRecord& slotIn(TChunks& chunks, size_t pos);
  void indexRecord(size_t pos, uint32_t hash);
  void rebuildIndex();

  TChunks chunks_;
  size_t size_ = 0;
  TNameStore names_;
  std::vector<TSlot> slots_;  // a power of two long, at most half full
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
