#include "s19reader.h"

#include "hexfield.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t FIELD_BUFFER_SIZE = 100;

// The base-16 text-to-unsigned conversion of a field: leading blanks and a
// sign are accepted, the first non-digit ends it, no digit gives 0.
uint32_t fieldValue(const char* text, size_t count) {
  uint32_t value;
  if (hexfield_Digits(text, count, value)) return value;
  char field[FIELD_BUFFER_SIZE] = {};
  memcpy(field, text, count);
  return static_cast<uint32_t>(strtoul(field, nullptr, 16));
}

uint8_t byteAt(const char* text, size_t position) {
  const int pair = hexfield_Pair(text + position);
  return static_cast<uint8_t>(pair >= 0 ? pair : fieldValue(text + position, 2));
}

// Address bytes of a record type, 0 for the types that carry no address.
size_t addressBytes(char type) {
  switch (type) {
    case '1':
    case '9': return 2;
    case '2':
    case '8': return 3;
    case '3':
    case '7': return 4;
    default: return 0;
  }
}

class TS19LineRules : public TLineRules {
 public:
  using TLineRules::TLineRules;

  TLineStep HandleLine(const char* text, size_t length) override;
  bool Verdict() const override { return verdict; }

 private:
  // Converts the count+1 pairs from the count on into `pairs`; true when
  // their ones'-complement checksum is right.
  bool DecodePairs(const char* text, unsigned count);
  TLineStep HandleData(const char* text, size_t addressLength, unsigned count);

  // pairs[0] is the count, the last one the checksum.
  uint8_t pairs[256];

  bool verdict = false;
};

size_t cutLength(const char* text, size_t length) {
  size_t i = 0;
  // Eight characters at a time while all are within 0x20 to 0x7F: no byte
  // then borrows in the subtraction, nor has its top bit set.
  for (; i + 8 <= length; i += 8) {
    uint64_t word;
    memcpy(&word, text + i, sizeof word);
    if (((word - 0x2020202020202020ull) | word) & 0x8080808080808080ull) break;
  }
  for (; i < length; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c >= 0x80) return i;
  }
  return length;
}

TLineStep TS19LineRules::HandleLine(const char* text, size_t length) {
  length = cutLength(text, length);
  if (length == 0 || text[0] != 'S') return TLineStep::FAILURE;
  // Every record is at least "S", the type and the count long.
  if (length < 4) return TLineStep::FAILURE;
  const unsigned count = byteAt(text, 2);
  if (length != 2 * count + 4) return TLineStep::FAILURE;
  verdict = false;

  const char type = text[1];
  switch (type) {
    case '0':
    case '5': return TLineStep::NEXT_LINE;
    case '1':
    case '2':
    case '3':
    case '7':
    case '8':
    case '9': break;
    default: return TLineStep::FAILURE;
  }
  const size_t addressLength = addressBytes(type);
  if (count < addressLength + 1) return TLineStep::FAILURE;
  if (type <= '3') return HandleData(text, addressLength, count);
  // Termination: the start address and any further bytes are not used.
  verdict = DecodePairs(text, count);
  return TLineStep::NORMAL_END;
}

TLineStep TS19LineRules::HandleData(const char* text, size_t addressLength, unsigned count) {
  const bool checksumRight = DecodePairs(text, count);
  const uint32_t address = fieldValue(text + 4, 2 * addressLength);
  const uint8_t* data = pairs + 1 + addressLength;
  const size_t dataBytes = count - addressLength - 1;
  image.Append(address, data, dataBytes);
  verdict = checksumRight;
  return verdict ? TLineStep::NEXT_LINE : TLineStep::FAILURE;
}

bool TS19LineRules::DecodePairs(const char* text, unsigned count) {
  unsigned sum = 0;
  for (unsigned i = 0; i <= count; ++i) {
    pairs[i] = byteAt(text, 2 + 2 * i);
    sum += pairs[i];
  }
  return (sum & 0xFF) == 0xFF;
}

}  // namespace

bool TS19Reader::ReadFile(const char* path) {
  TS19LineRules rules(*this);
  return ReadLines(path, rules);
}
