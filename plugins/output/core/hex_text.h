#pragma once
// Bounded text buffers for the lines the file writers build byte by byte.
#include <cstddef>
#include <cstdint>

// A record's body as two uppercase hex digits a byte, with the sum of its
// bytes for the checksum and the count of its data bytes.
class THexRecord {
 public:
  // Starts an empty record.
  void Open();
  void Close() { open_ = false; }
  bool IsOpen() const { return open_; }

  // A byte of the address or type fields: in the body and the sum.
  void AddField(uint8_t byte);
  // A data byte: also counted.
  void AddData(uint8_t byte);
  // Big-endian, as the records carry their addresses.
  void AddField32(uint32_t value);
  void AddField16(uint16_t value);

  const char* Body() const { return body_; }
  unsigned ByteCount() const { return static_cast<unsigned>(length_ / 2); }
  uint8_t Sum() const { return sum_; }
  unsigned DataCount() const { return dataCount_; }

 private:
  // 4 address bytes, a type byte and 16 data bytes at the most.
  char body_[2 * 21 + 1] = "";
  size_t length_ = 0;
  uint8_t sum_ = 0;
  unsigned dataCount_ = 0;
  bool open_ = false;
};

// A line of items " 0xHH," for the assembler data directives.
class TByteItemLine {
 public:
  void Add(uint8_t byte);
  bool IsEmpty() const { return length_ == 0; }
  // The items without the last comma; the line is empty afterwards, the
  // text stays valid until the next Add.
  const char* Take();
  void Clear() { length_ = 0; }

 private:
  static constexpr size_t ITEM_LENGTH = 6;
  char text_[16 * ITEM_LENGTH + 1] = "";
  size_t length_ = 0;
};
