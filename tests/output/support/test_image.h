#pragma once
// Images as the tests build them, and a cursor that serves one through the
// stream reader contract.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace outtest {

struct TImageByte {
  uint32_t address;
  uint8_t data;
  bool operator==(const TImageByte& other) const { return address == other.address && data == other.data; }
};
using TImage = std::vector<TImageByte>;

// `count` bytes from `start` with the values first, first + 1, ...
TImage Sequence(uint32_t start, size_t count, uint8_t first = 0);
// The given values from `start` on.
TImage Bytes(uint32_t start, const std::vector<uint8_t>& values);
TImage operator+(TImage left, const TImage& right);
// Runs of random length and content at random gaps, ascending from `start`.
TImage RandomGappedImage(uint32_t seed, uint32_t start, size_t runs);

// Serves an image byte by byte: the producer side of the stream reader routines.
class TImageCursor {
 public:
  void Set(TImage image);
  bool First();
  bool Next();
  uint32_t Address() const { return OnByte() ? image_[position_].address : 0; }
  uint8_t Data() const { return OnByte() ? image_[position_].data : 0; }

 private:
  bool OnByte() const { return rewound_ && position_ < image_.size(); }

  TImage image_;
  size_t position_ = 0;
  bool rewound_ = false;
};

}  // namespace outtest
