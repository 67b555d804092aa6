#include "sample_images.h"

namespace integ {

using outtest::Bytes;
using outtest::RandomGappedImage;
using outtest::Sequence;

const std::vector<TNamedImage>& SampleImages() {
  static const std::vector<TNamedImage> images = {
      {"one byte at 0", Bytes(0, {0x5A})},
      {"gapped", RandomGappedImage(1, 0x100, 300)},
      {"full records followed by jumps", Sequence(0, 16) + Sequence(0x20, 32, 0x40) + Sequence(0x41, 1)},
      {"records across 64 KiB boundaries", Sequence(0xFFF8, 24) + Sequence(0x1FFFF, 2, 0x66) + Sequence(0x2FFF0, 16)},
      {"above 64 KiB", RandomGappedImage(2, 0x123456, 200) + Sequence(0x7FFFFFF0, 40)},
      {"random over several 64 KiB blocks", RandomGappedImage(3, 0x2FF00, 4000)},
      {"ending at the top address", Sequence(0, 5) + Sequence(0xFFFF0000, 3) + Sequence(0xFFFFFF00, 256, 0x10)},
      {"ending at the top mid-record", Sequence(0xFFFFFFE7, 25)},
      {"only the top address", Bytes(0xFFFFFFFF, {0xAB})},
      // More S3 records than the S5 record can count.
      {"65537 records", Sequence(0x10000, 0x10001 * 16, 7)},
  };
  return images;
}

}  // namespace integ
