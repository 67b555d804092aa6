#pragma once
// GetTickCount counts milliseconds in 32 bits and wraps after 49.7 days. The
// readings, taken in order on one thread, become a 64-bit count that keeps
// rising: a reading below the one before counts one wrap. (Two readings more
// than 49.7 days apart miss a wrap.)
#include <cstdint>

class TTickExtension {
 public:
  uint64_t Extend(uint32_t tick) {
    if (tick < last_) ++wraps_;
    last_ = tick;
    return (wraps_ << 32) | tick;
  }

 private:
  uint32_t last_ = 0;
  uint64_t wraps_ = 0;
};
