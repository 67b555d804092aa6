#pragma once
// Reads a fuzz input front to back as the values a target needs. Once the
// input runs out, every number is 0 and every byte string empty, so that a
// target always ends.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TFuzzInput {
 public:
  TFuzzInput(const uint8_t* data, size_t size) : data_(data), left_(size) {}

  bool empty() const { return left_ == 0; }
  size_t left() const { return left_; }

  uint8_t byte() {
    if (left_ == 0) return 0;
    --left_;
    return *data_++;
  }
  bool flag() { return (byte() & 1) != 0; }
  // Little-endian; every byte is read in its own statement, so that the order
  // does not depend on the compiler.
  uint16_t u16() {
    const uint16_t low = byte();
    return static_cast<uint16_t>(low | byte() << 8);
  }
  uint32_t u32() {
    const uint32_t low = u16();
    return low | static_cast<uint32_t>(u16()) << 16;
  }
  // A number below n (n at most 256), taken from one byte.
  size_t below(size_t n) { return n == 0 ? 0 : byte() % n; }

  template <typename T, size_t N>
  const T& pick(const T (&choices)[N]) {
    return choices[below(N)];
  }

  // Up to `count` bytes, as many as the input still holds.
  std::vector<uint8_t> bytes(size_t count) {
    if (count > left_) count = left_;
    std::vector<uint8_t> taken(data_, data_ + count);
    data_ += count;
    left_ -= count;
    return taken;
  }
  // A byte string of at most `maxLength` bytes, its length read first.
  std::string text(size_t maxLength) {
    const size_t length = maxLength < 256 ? below(maxLength + 1) : u16() % (maxLength + 1);
    const std::vector<uint8_t> taken = bytes(length);
    return std::string(taken.begin(), taken.end());
  }

 private:
  const uint8_t* data_;
  size_t left_;
};
