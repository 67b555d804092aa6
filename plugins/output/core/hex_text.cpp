#include "hex_text.h"

namespace {

const char HEX_DIGITS[] = "0123456789ABCDEF";

void PutHex(char* at, uint8_t byte) {
  at[0] = HEX_DIGITS[byte >> 4];
  at[1] = HEX_DIGITS[byte & 0x0F];
}

}  // namespace

void THexRecord::Open() {
  length_ = 0;
  body_[0] = '\0';
  sum_ = 0;
  dataCount_ = 0;
  open_ = true;
}

void THexRecord::AddField(uint8_t byte) {
  if (length_ + 2 >= sizeof body_) return;  // cannot happen with 16 data bytes
  PutHex(body_ + length_, byte);
  length_ += 2;
  body_[length_] = '\0';
  sum_ = static_cast<uint8_t>(sum_ + byte);
}

void THexRecord::AddData(uint8_t byte) {
  AddField(byte);
  ++dataCount_;
}

void THexRecord::AddField32(uint32_t value) {
  AddField16(static_cast<uint16_t>(value >> 16));
  AddField16(static_cast<uint16_t>(value));
}

void THexRecord::AddField16(uint16_t value) {
  AddField(static_cast<uint8_t>(value >> 8));
  AddField(static_cast<uint8_t>(value));
}

void TByteItemLine::Add(uint8_t byte) {
  if (length_ + ITEM_LENGTH >= sizeof text_) return;  // a line holds 16 items
  char* item = text_ + length_;
  item[0] = ' ';
  item[1] = '0';
  item[2] = 'x';
  PutHex(item + 3, byte);
  item[5] = ',';
  length_ += ITEM_LENGTH;
  text_[length_] = '\0';
}

const char* TByteItemLine::Take() {
  if (length_ > 0) text_[length_ - 1] = '\0';
  length_ = 0;
  return text_;
}
