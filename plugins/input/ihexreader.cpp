#include "ihexreader.h"

#include "hexfield.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr int FIELD_BUFFER_SIZE = 100;

enum TRecordType {
  DATA = 0,
  END_OF_FILE = 1,
  EXTENDED_SEGMENT_ADDRESS = 2,
  START_SEGMENT_ADDRESS = 3,
  EXTENDED_LINEAR_ADDRESS = 4,
  START_LINEAR_ADDRESS = 5,
};

// One record of a line, after its ":". Positions past the end of the line's
// text read as an empty field.
class TRecordText {
 public:
  TRecordText(const char* text, size_t length) : text(text), length(length) {}

  const char* At(size_t position) const { return text + (position <= length ? position : length); }
  int64_t Field(size_t position, int characters) const { return TIHEXReader::hex2Number(At(position), characters); }
  bool Empty(size_t position) const { return *At(position) == '\0'; }

 private:
  const char* text;
  size_t length;
};

class TIHEXLineRules : public TLineRules {
 public:
  using TLineRules::TLineRules;

  TLineStep HandleLine(const char* text, size_t length) override;
  // Every failure ends the read at once, so whatever ends normally is good.
  bool Verdict() const override { return true; }

 private:
  TLineStep HandleData(const TRecordText& record, int64_t count, int64_t address, unsigned sum);
  TLineStep HandleEndOfFile(const TRecordText& record, int64_t count, int64_t address);
  TLineStep HandleBase(const TRecordText& record, int64_t count, int64_t address, int64_t type, unsigned sum);
  // Adds the checksum field at `position` to `sum`; true when the low byte is 0.
  static bool ChecksumRight(const TRecordText& record, size_t position, unsigned sum);

  uint32_t base = 0;
};

bool isControl(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code < 32 || code == 127;
}

TLineStep TIHEXLineRules::HandleLine(const char* text, size_t length) {
  size_t start = 0;
  while (start < length && isControl(text[start])) ++start;
  if (start == length || text[start] != ':') return TLineStep::NORMAL_END;
  const TRecordText record(text + start + 1, length - start - 1);

  const int64_t count = record.Field(0, 2);
  const int64_t address = record.Field(2, 4);
  if (count < 0 || address < 0) return TLineStep::NORMAL_END;
  const int64_t type = record.Field(6, 2);
  if (type < 0 || type > START_LINEAR_ADDRESS) return TLineStep::FAILURE;
  const unsigned sum = static_cast<unsigned>(count + (address >> 8) + (address & 0xFF) + type);

  switch (type) {
    case DATA: return HandleData(record, count, address, sum);
    case END_OF_FILE: return HandleEndOfFile(record, count, address);
    case EXTENDED_SEGMENT_ADDRESS:
    case EXTENDED_LINEAR_ADDRESS: return HandleBase(record, count, address, type, sum);
    default: return TLineStep::NEXT_LINE;
  }
}

TLineStep TIHEXLineRules::HandleData(const TRecordText& record, int64_t count, int64_t address, unsigned sum) {
  // The bytes before one that does not convert are kept.
  uint8_t bytes[256] = {};
  const auto byteCount = static_cast<size_t>(count);  // two digits: 0 to 255
  size_t converted = 0;
  for (; converted < byteCount; ++converted) {
    const int64_t data = record.Field(8 + 2 * converted, 2);
    if (data < 0) break;
    bytes[converted] = static_cast<uint8_t>(data);
    sum += static_cast<unsigned>(data);
  }
  image.Append(base + static_cast<uint32_t>(address), bytes, converted);
  if (converted < byteCount) return TLineStep::FAILURE;
  return ChecksumRight(record, 8 + 2 * byteCount, sum) ? TLineStep::NEXT_LINE : TLineStep::FAILURE;
}

TLineStep TIHEXLineRules::HandleEndOfFile(const TRecordText& record, int64_t count, int64_t address) {
  if (address != 0 || count != 0 || record.Empty(8) || record.Field(8, 2) != 0xFF) return TLineStep::FAILURE;
  return TLineStep::NEXT_LINE;
}

TLineStep TIHEXLineRules::HandleBase(const TRecordText& record, int64_t count, int64_t address, int64_t type,
                                     unsigned sum) {
  if (address != 0 || count != 2) return TLineStep::FAILURE;
  const int64_t value = record.Field(8, 4);
  const int64_t high = record.Field(8, 2);
  const int64_t low = record.Field(10, 2);
  // Digits that do not convert are refused here rather than left to the checksum.
  if (value < 0 || high < 0 || low < 0) return TLineStep::FAILURE;
  const uint32_t shift = type == EXTENDED_SEGMENT_ADDRESS ? 4 : 16;
  base = static_cast<uint32_t>(value) << shift;
  return ChecksumRight(record, 12, sum + static_cast<unsigned>(high + low)) ? TLineStep::NEXT_LINE : TLineStep::FAILURE;
}

bool TIHEXLineRules::ChecksumRight(const TRecordText& record, size_t position, unsigned sum) {
  const int64_t checksum = record.Field(position, 2);
  if (checksum < 0) return false;
  return ((sum + static_cast<unsigned>(checksum)) & 0xFF) == 0;
}

}  // namespace

int64_t TIHEXReader::hex2Number(const char* src, int len) {
  if (len <= 0 || src == nullptr || src[0] == '\0') return 0;
  if (len >= FIELD_BUFFER_SIZE) return -1;
  if (len == 2) {
    const int pair = hexfield_Pair(src);
    if (pair >= 0) return pair;
  }
  uint32_t value;
  if (len <= 8 && hexfield_Digits(src, static_cast<size_t>(len), value)) return value;
  char field[FIELD_BUFFER_SIZE] = {};
  strncpy(field, src, static_cast<size_t>(len));
  char* end = nullptr;
  const int64_t number = strtoll(field, &end, 16);
  return *end == '\0' ? number : -1;
}

bool TIHEXReader::ReadFile(const char* path) {
  TIHEXLineRules rules(*this);
  return ReadLines(path, rules);
}
