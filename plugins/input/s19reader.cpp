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
  if (hexfield_Digits(text, count, value))
    return value;
  char field[FIELD_BUFFER_SIZE] = {};
  memcpy(field, text, count);
  return static_cast<uint32_t>(strtoul(field, nullptr, 16));
}

uint8_t byteAt(const char* text, size_t position) {
  return static_cast<uint8_t>(fieldValue(text + position, 2));
}

// Address bytes of a record type, 0 for the types that carry no address.
size_t addressBytes(char type) {
  switch (type) {
    case '1': case '9': return 2;
    case '2': case '8': return 3;
    case '3': case '7': return 4;
    default: return 0;
  }
}

class TS19LineRules : public TLineRules {
public:
  explicit TS19LineRules(TByteStreamer& image) : image(image) {}

  TLineStep HandleLine(const char* text, size_t length) override;
  bool Verdict() const override { return verdict; }

private:
  TLineStep HandleData(const char* text, size_t addressLength, unsigned count);
  // Ones'-complement checksum over every pair from the count on.
  static bool ChecksumRight(const char* text, size_t length);

  TByteStreamer& image;
  bool verdict = false;
};

size_t cutLength(const char* text, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c >= 0x80)
      return i;
  }
  return length;
}

TLineStep TS19LineRules::HandleLine(const char* text, size_t length) {
  length = cutLength(text, length);
  if (length == 0 || text[0] != 'S')
    return TLineStep::FAILURE;
  // Every record is at least "S", the type and the count long.
  if (length < 4)
    return TLineStep::FAILURE;
  const unsigned count = byteAt(text, 2);
  if (length != 2 * count + 4)
    return TLineStep::FAILURE;
  verdict = false;

  const char type = text[1];
  switch (type) {
    case '0':
    case '5':
      return TLineStep::NEXT_LINE;
    case '1':
    case '2':
    case '3':
    case '7':
    case '8':
    case '9':
      break;
    default:
      return TLineStep::FAILURE;
  }
  const size_t addressLength = addressBytes(type);
  if (count < addressLength + 1)
    return TLineStep::FAILURE;
  if (type <= '3')
    return HandleData(text, addressLength, count);
  // Termination: the start address and any further bytes are not used.
  verdict = ChecksumRight(text, length);
  return TLineStep::NORMAL_END;
}

TLineStep TS19LineRules::HandleData(const char* text, size_t addressLength, unsigned count) {
  const uint32_t address = fieldValue(text + 4, 2 * addressLength);
  const size_t dataStart = 4 + 2 * addressLength;
  const size_t dataBytes = count - addressLength - 1;
  for (size_t k = 0; k < dataBytes; ++k)
    image.Append(address + static_cast<uint32_t>(k), byteAt(text, dataStart + 2 * k));
  verdict = ChecksumRight(text, 2 * count + 4);
  return verdict ? TLineStep::NEXT_LINE : TLineStep::FAILURE;
}

bool TS19LineRules::ChecksumRight(const char* text, size_t length) {
  unsigned sum = 0;
  for (size_t position = 2; position + 1 < length; position += 2)
    sum += byteAt(text, position);
  return (sum & 0xFF) == 0xFF;
}

}  // namespace

bool TS19Reader::ReadFile(const char* path) {
  TS19LineRules rules(*this);
  return ReadLines(path, rules);
}
