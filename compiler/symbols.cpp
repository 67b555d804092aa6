#include "symbols.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "codegen.h"
#include "errorframe.h"
#include "include/plccomp.h"
#include "nullstrings.h"
#include "tolvane_export.h"

TSymbolTable Symbols;
long dll_curr_symbol = kCursorUnset;

namespace {

const char* const kIntPrefix = "ram_int_";
const char* const kBitPrefix = "ram_bit_";
constexpr unsigned kPrefixLength = 8;
// A user name is cut after this many characters, so that a name too long for
// the table shows as an internal name of 257 characters.
constexpr unsigned kUserNameCut = kSymbolNameLimit + 1 - kPrefixLength;

SymbolRecord& addVariable(const char* routine, const char* prefix, const char* userName) {
  if (strlennull(userName) == 0) {
    PLC_TRACE(TRACE_FAILURES, "%s(%s%s%s) => ErrorAbort", routine, userName ? "\"" : "", userName ? "" : "NULL",
              userName ? "\"" : "");
    PLC_ERROR_ABORT(ERROR_INTERNAL);
  }
  PLC_TRACE(TRACE_FAILURES, "%s(\"%s\"):", routine, userName);
  char internalName[kSymbolNameLimit + 2];
  std::memcpy(internalName, prefix, kPrefixLength);
  const size_t length = strnlen(userName, kUserNameCut);
  std::memcpy(internalName + kPrefixLength, userName, length);
  internalName[kPrefixLength + length] = '\0';
  SymbolRecord& record = addSymbol(internalName);
  ++record.accessed;
  PLC_TRACE(TRACE_FAILURES, "%s(\"%s\") => @\"%s\"", routine, userName, record.name);
  return record;
}

// Writes value in decimal followed by the terminator character; gives the
// position behind it.
char* appendDecimal(char* out, unsigned value, char terminator) {
  char digits[10];
  int count = 0;
  do digits[count++] = static_cast<char>('0' + value % 10);
  while ((value /= 10) != 0);
  while (count) *out++ = digits[--count];
  *out++ = terminator;
  return out;
}

}  // namespace

const char* TNameStore::store(std::string_view name) {
  const size_t needed = name.size() + 1;
  if (used_ + needed > kBlockSize) {
    blocks_.emplace_back(new char[kBlockSize]);
    used_ = 0;
  }
  char* stored = blocks_.back().get() + used_;
  std::memcpy(stored, name.data(), name.size());
  stored[name.size()] = '\0';
  used_ += needed;
  return stored;
}

void TNameStore::clear() {
  std::vector<std::unique_ptr<char[]>>().swap(blocks_);
  used_ = kBlockSize;
}

size_t TSymbolTable::find(const char* name, size_t length) const {
  if (plc_traceOn(TRACE_DETAIL)) {
    for (size_t pos = 0; pos < size_; ++pos)
      if (strcmpnull(at(pos).name, name) == 0) return pos;
    return npos;
  }
  if (slots_.empty() || length > kSymbolNameLimit) return npos;
  const uint32_t hash = hashOf(std::string_view(name, length));
  const size_t mask = slots_.size() - 1;
  for (size_t i = hash & mask; slots_[i].position != 0; i = (i + 1) & mask) {
    if (slots_[i].hash != hash) continue;
    const size_t pos = slots_[i].position - 1;
    const char* stored = at(pos).name;
    if (std::strncmp(stored, name, length) == 0 && stored[length] == '\0') return pos;
  }
  return npos;
}

SymbolRecord& TSymbolTable::slotIn(TChunks& chunks, size_t pos) {
  if ((pos >> kChunkBits) == chunks.size()) chunks.emplace_back(new SymbolRecord[kChunkSize]);
  return chunks[pos >> kChunkBits][pos & (kChunkSize - 1)];
}

SymbolRecord& TSymbolTable::append(std::string_view name) {
  if ((size_ + 1) * 2 > slots_.size()) {
    slots_.assign(std::max<size_t>(64, slots_.size() * 2), TSlot{0, 0});
    for (size_t pos = 0; pos < size_; ++pos) indexRecord(pos, hashOf(at(pos).name));
  }
  SymbolRecord& record = slotIn(chunks_, size_);
  record = SymbolRecord{};
  record.name = names_.store(name.substr(0, kSymbolNameLimit));
  ++size_;
  indexRecord(size_ - 1, hashOf(name));
  return record;
}

void TSymbolTable::clear() {
  TChunks().swap(chunks_);
  size_ = 0;
  names_.clear();
  std::vector<TSlot>().swap(slots_);
}

void TSymbolTable::removeUnfixed() {
  // The kept names move to a fresh store, so that removed names do not pile up.
  TNameStore keptNames;
  size_t kept = 0;
  for (size_t pos = 0; pos < size_; ++pos) {
    if (!at(pos).fixed) continue;
    at(kept) = at(pos);
    at(kept).name = keptNames.store(at(kept).name);
    ++kept;
  }
  std::swap(names_, keptNames);
  size_ = kept;
  chunks_.resize((size_ + kChunkSize - 1) >> kChunkBits);
  rebuildIndex();
}

void TSymbolTable::sortByAccess() {
  // Sorting the counts with positions and copying the records once in the
  // new order moves each large record once, not at every exchange. Equal
  // counts keep the order in which the symbols were made: any order is
  // correct for them, and this one keeps the lookups of the next passes,
  // which meet the symbols in that order again, close together in memory.
  std::vector<std::pair<int32_t, uint32_t>> order;
  order.reserve(size_);
  for (size_t pos = 0; pos < size_; ++pos) order.emplace_back(at(pos).accessed, static_cast<uint32_t>(pos));
  std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) {
    return a.first > b.first || (a.first == b.first && a.second < b.second);
  });
  TChunks sorted;
  sorted.reserve(chunks_.size());
  for (size_t pos = 0; pos < size_; ++pos) slotIn(sorted, pos) = at(order[pos].second);
  chunks_.swap(sorted);
  rebuildIndex();
}

uint32_t TSymbolTable::hashOf(std::string_view name) {
  uint32_t hash = 2166136261u;  // FNV-1a
  for (unsigned char c : name) hash = (hash ^ c) * 16777619u;
  return hash;
}

void TSymbolTable::indexRecord(size_t pos, uint32_t hash) {
  const size_t mask = slots_.size() - 1;
  size_t i = hash & mask;
  while (slots_[i].position != 0) i = (i + 1) & mask;
  slots_[i] = TSlot{hash, static_cast<uint32_t>(pos + 1)};
}

void TSymbolTable::rebuildIndex() {
  size_t slots = 64;
  while (slots < size_ * 2) slots *= 2;
  slots_.assign(slots, TSlot{0, 0});
  for (size_t pos = 0; pos < size_; ++pos) indexRecord(pos, hashOf(at(pos).name));
}

SymbolRecord* plc_currentSymbol() {
  if (dll_curr_symbol < 0 || static_cast<size_t>(dll_curr_symbol) >= Symbols.size()) return nullptr;
  return &Symbols.at(static_cast<size_t>(dll_curr_symbol));
}

SymbolRecord& addSymbol(const char* name) {
  const unsigned length = strlennull(name);
  if (length == 0) {
    if (name)
      PLC_TRACE(TRACE_FAILURES, "addSymbol(\"%s\") => ErrorAbort", name);
    else
      PLC_TRACE(TRACE_FAILURES, "addSymbol(NULL) => ErrorAbort");
    PLC_ERROR_ABORT(ERROR_INTERNAL);
  }
  PLC_TRACE(TRACE_FAILURES, "addSymbol(\"%s\"):", name);
  const size_t pos = Symbols.find(name, length);
  if (pos != TSymbolTable::npos) {
    PLC_TRACE(TRACE_FAILURES, "addSymbol(%s) exists => ExistingSym", name);
    return Symbols.at(pos);
  }
  if (length > kSymbolNameLimit) {
    dbp("addSymbol(): Invalid length for parameter: name!");
    PLC_TRACE(TRACE_FAILURES, "addSymbol():Parameter check for 'name' failed: length(%d) ; limit: (%d)",
              static_cast<int>(length), static_cast<int>(kSymbolNameLimit));
    PLC_TRACE(TRACE_FAILURES, "addSymbol(\"%s\") => ErrorAbort", name);
    PLC_ERROR_ABORT(ERROR_INTERNAL);
  }
  SymbolRecord& record = Symbols.append(std::string_view(name, length));
  PLC_TRACE(TRACE_FAILURES, "addSymbol(\"%s\") new Symbol Added => @\"%s\"", name, record.name);
  return record;
}

SymbolRecord& AddRAMIntegerSymbol(const char* name) { return addVariable("AddRAMIntegerSymbol", kIntPrefix, name); }

SymbolRecord& AddRAMBitSymbol(const char* name) { return addVariable("AddRAMBitSymbol", kBitPrefix, name); }

SymbolRecord& AddCodeLabelSymbol(unsigned block, unsigned role) {
  const unsigned a = block & 0xFFFFu, b = role & 0xFFFFu;
  PLC_TRACE(TRACE_FAILURES, "AddCodeLabelSymbol(%u, %u):", a, b);
  char name[256] = "lbl_";
  appendDecimal(appendDecimal(name + 4, a, '_'), b, '\0');
  SymbolRecord& record = addSymbol(name);
  ++record.accessed;
  PLC_TRACE(TRACE_FAILURES, "AddCodeLabelSymbol(%u, %u) => @\"%s\"", a, b, record.name);
  return record;
}

void WipeSymbolMap(bool all) {
  PLC_TRACE(TRACE_FLOW, "WipeSymbolMap(%s):", plc_bool(all));
  if (all)
    Symbols.clear();
  else
    Symbols.removeUnfixed();
  dll_curr_symbol = 0;
  PLC_TRACE(TRACE_FLOW, "WipeSymbolMap(%s) => void", plc_bool(all));
}

void WipeSymbolAccesses() {
  PLC_TRACE(TRACE_DETAIL, "WipeSymbolAccesses():");
  for (SymbolRecord& record : Symbols) record.accessed = 0;
  PLC_TRACE(TRACE_DETAIL, "WipeSymbolAccesses() => void");
}

TOLVANE_EXPORT bool AddFixSymbol(const char* name, const char* symType, uint32_t addr, uint32_t bit) {
  PLC_TRACE(TRACE_FLOW, "AddFixSymbol():");
  return plc_frame(
      false, [](int code) { PLC_TRACE(TRACE_FAILURES, "AddFixSymbol() Exiting due to oops(%d) => FALSE", code); },
      [&] {
        const unsigned long a = addr, b = bit;
        if (!name) {
          plc_setLastError("AddFixSymbol", "NULL assignment attempt to '%s' function", "name in AddFixSymbol");
          dbp("AddFixSymbol(): name is NULL ");
          PLC_TRACE(TRACE_FAILURES, "AddFixSymbol(NULL, ...) => FALSE");
          return false;
        }
        if (!symType) {
          plc_setLastError("AddFixSymbol", "NULL assignment attempt to '%s' function", "symType in AddFixSymbol");
          dbp("AddFixSymbol(): symType is NULL");
          PLC_TRACE(TRACE_FAILURES, "AddFixSymbol(\"%s\", NULL, ...) => FALSE", name);
          return false;
        }
        const char* emptyParameter = strlennull(name) == 0 ? "name" : strlennull(symType) == 0 ? "symType" : nullptr;
        if (emptyParameter) {
          plc_setLastError("AddFixSymbol", "Parameter error (%s=%s)", emptyParameter, "''");
          dbp("AddFixSymbol(): %s is <ZERO LENGTH>", emptyParameter);
          PLC_TRACE(TRACE_FAILURES, "AddFixSymbol(\"%s\", \"%s\", 0x%lu, 0x%lu) => FALSE", name, symType, a, b);
          return false;
        }
        PLC_TRACE(TRACE_FLOW, "AddFixSymbol(\"%s\", \"%s\", 0x%lu, 0x%lu): ", name, symType, a, b);
        const bool isInt = std::strcmp(symType, "INT") == 0;
        if (!isInt && std::strcmp(symType, "BIT") != 0) {
          plc_setLastError("AddFixSymbol", "Unrecognized statement '%s'", symType);
          dbp("AddFixSymbol(): symType '%s' is unrecognized", symType);
          PLC_TRACE(TRACE_FAILURES, "AddFixSymbol(\"%s\", \"%s\", 0x%lu, 0x%lu) => FALSE", name, symType, a, b);
          return false;
        }
        // Addresses and bit numbers are the controller's 16-bit values; the
        // address goes into the records' operands, which keep 16 bits.
        const char* wideParameter = addr > kRecordFieldMax ? "addr" : bit > kRecordFieldMax ? "bit" : nullptr;
        if (wideParameter) {
          const unsigned long value = addr > kRecordFieldMax ? a : b;
          plc_setLastError("AddFixSymbol", "Parameter error (%s=0x%lX): does not fit 16 bits", wideParameter, value);
          dbp("AddFixSymbol(): %s 0x%lX does not fit 16 bits", wideParameter, value);
          PLC_TRACE(TRACE_FAILURES, "AddFixSymbol(\"%s\", \"%s\", 0x%lu, 0x%lu) => FALSE", name, symType, a, b);
          return false;
        }
        SymbolRecord* record = isInt ? &AddRAMIntegerSymbol(name) : &AddRAMBitSymbol(name);
        record->fixed = 1;
        record->addr = addr;
        record->bitID = bit;
        PLC_TRACE(TRACE_FLOW, "AddFixSymbol(\"%s\", \"%s\", 0x%lu, 0x%lu) => TRUE", name, symType, a, b);
        return true;
      });
}

TOLVANE_EXPORT bool GetSymbolByInternalName(const char* name) {
  PLC_TRACE(TRACE_FLOW, "GetSymbolByInternalName(%s%s%s):", PLC_Q(name));
  return plc_frame(
      false,
      [](int code) { PLC_TRACE(TRACE_FAILURES, "GetSymbolByInternalName() Exiting due to oops(%d) => FALSE", code); },
      [&] {
        const unsigned length = strlennull(name);
        if (length == 0) {
          dbp("GetSymbolByInternalName(): NULL pointer detected. (1)");
          PLC_TRACE(TRACE_FAILURES, "GetSymbolByInternalName(): parameter 'name' == NULL or \"\"!");
          PLC_TRACE(TRACE_FAILURES, "GetSymbolByInternalName(%s%s%s) => FALSE", PLC_Q(name));
          return false;
        }
        const size_t pos = Symbols.find(name, length);
        if (pos == TSymbolTable::npos) {
          PLC_TRACE(TRACE_FLOW, "GetSymbolByInternalName(%s%s%s) => FALSE", PLC_Q(name));
          return false;
        }
        dll_curr_symbol = static_cast<long>(pos);
        PLC_TRACE(TRACE_FLOW, "GetSymbolByInternalName(%s%s%s) => TRUE", PLC_Q(name));
        return true;
      });
}

namespace {

// Writes the lines of a NULL or empty lookup argument; true when it was one.
bool refuseLookupArgument(const char* value, const char* parameter, int number) {
  if (!value) {
    dbp("GetSymbolByName(): Null pointer detected. (%d)", number);
    PLC_TRACE(TRACE_FAILURES, "GetSymbolByName(): parameter '%s'(=NULL) is NULL", parameter);
    return true;
  }
  if (strlennull(value) == 0) {
    dbp("GetSymbolRecordFromName(): <ZERO LENGTH> parameter! (%d)", number);
    PLC_TRACE(TRACE_FAILURES, "GetSymbolByName(): parameter '%s'(=\"\") ZERO LENGTH", parameter);
    return true;
  }
  return false;
}

struct TLookupType {
  const char* type;
  const char* prefix;
};

const TLookupType kLookupTypes[] = {{"BIT", "ram_bit_"}, {"BYTE", "ram_byt_"}, {"INT", "ram_int_"}, {"LABEL", "lbl_"}};

}  // namespace

TOLVANE_EXPORT bool GetSymbolByName(const char* name, const char* type) {
  PLC_TRACE(TRACE_FLOW, "GetSymbolByName(%s%s%s, %s%s%s):", PLC_Q(name), PLC_Q(type));
  return plc_frame(
      false, [](int code) { PLC_TRACE(TRACE_FAILURES, "GetSymbolByName() Exiting due to oops(%d) => FALSE", code); },
      [&] {
        const bool badName = refuseLookupArgument(name, "name", 1);
        const bool badType = refuseLookupArgument(type, "type", 2);
        if (badName || badType) {
          PLC_TRACE(TRACE_FLOW, "GetSymbolByName(%s%s%s, %s%s%s) => FALSE", PLC_Q(name), PLC_Q(type));
          return false;
        }
        const TLookupType* kind = nullptr;
        for (const TLookupType& candidate : kLookupTypes)
          if (std::strcmp(type, candidate.type) == 0) kind = &candidate;
        if (!kind) {
          dbp("GetSymbolByName(): Symbol type not recognized!");
          PLC_TRACE(TRACE_FAILURES, "GetSymbolByName(%s%s%s, %s%s%s) => FALSE", PLC_Q(name), PLC_Q(type));
          return false;
        }
        PLC_TRACE(TRACE_FLOW, "GetSymbolByName(): type recognized as '%s'", kind->type);
        // At most 257 characters: a cut name matches no record.
        char internalName[kSymbolNameLimit + 2];
        const int prefixLength = static_cast<int>(std::strlen(kind->prefix));
        std::snprintf(internalName, sizeof internalName, "%s%.*s", kind->prefix,
                      static_cast<int>(kSymbolNameLimit) + 1 - prefixLength, name);
        PLC_TRACE(TRACE_FLOW, "GetSymbolByName(): Searching for symbol \"%s\"", internalName);
        const bool found = GetSymbolByInternalName(internalName);
        PLC_TRACE(TRACE_FLOW, "GetSymbolByName(%s%s%s, %s%s%s) => %s", PLC_Q(name), PLC_Q(type), plc_bool(found));
        return found;
      });
}
