#include "test_image.h"

#include <random>

namespace outtest {

TImage Sequence(uint32_t start, size_t count, uint8_t first) {
  TImage image;
  for (size_t i = 0; i < count; ++i)
    image.push_back({static_cast<uint32_t>(start + i), static_cast<uint8_t>(first + i)});
  return image;
}

TImage Bytes(uint32_t start, const std::vector<uint8_t>& values) {
  TImage image;
  for (size_t i = 0; i < values.size(); ++i) image.push_back({static_cast<uint32_t>(start + i), values[i]});
  return image;
}

TImage operator+(TImage left, const TImage& right) {
  left.insert(left.end(), right.begin(), right.end());
  return left;
}

TImage RandomGappedImage(uint32_t seed, uint32_t start, size_t runs) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<uint32_t> length(1, 70), gap(1, 300), byte(0, 255);
  TImage image;
  uint32_t address = start;
  for (size_t run = 0; run < runs; ++run) {
    for (uint32_t n = length(random); n > 0; --n) image.push_back({address++, static_cast<uint8_t>(byte(random))});
    address += gap(random);
  }
  return image;
}

void TImageCursor::Set(TImage image) {
  image_ = std::move(image);
  position_ = 0;
  rewound_ = false;
}

bool TImageCursor::First() {
  rewound_ = true;
  position_ = 0;
  return !image_.empty();
}

bool TImageCursor::Next() {
  if (!rewound_ || position_ >= image_.size()) return false;
  return ++position_ < image_.size();
}

}  // namespace outtest
