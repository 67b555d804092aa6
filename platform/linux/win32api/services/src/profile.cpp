#include <ini.h>
#include <strings.h>

#include <windows.h>
#include <cctype>

namespace {

struct TLookup {
  LPCSTR section;
  LPCSTR key;
  bool found;
  UINT value;
};

// The number at the start of `text`: blanks, an optional sign, decimal digits.
// It wraps around modulo 2^32 as the result type does, so its low 16 bits
// are those of the number written however long it is.
UINT parseProfileInt(const char* text) {
  while (*text == ' ' || *text == '\t') ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') negative = (*text++ == '-');
  UINT value = 0;
  for (; std::isdigit(static_cast<unsigned char>(*text)); ++text) value = value * 10u + static_cast<UINT>(*text - '0');
  return negative ? 0u - value : value;
}

int onEntry(void* user, const char* section, const char* key, const char* value) {
  auto* lookup = static_cast<TLookup*>(user);
  // The first entry under the name counts, as the Windows reader takes it.
  if (!lookup->found && strcasecmp(section, lookup->section) == 0 && strcasecmp(key, lookup->key) == 0) {
    lookup->found = true;
    lookup->value = parseProfileInt(value);
  }
  return 1;
}

}  // namespace

UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName) {
  if (!section || !key || !fileName) return static_cast<UINT>(defaultValue);
  TLookup lookup{section, key, false, 0};
  // A line the parser cannot read is passed over; the others still count.
  ini_parse(fileName, onEntry, &lookup);
  return lookup.found ? lookup.value : static_cast<UINT>(defaultValue);
}
