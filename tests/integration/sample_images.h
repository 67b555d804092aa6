#pragma once
// Images that put the writers and readers through their cases: gaps, full
// records, 64 KiB boundaries, the top address, more records than S5 counts.
#include <string>
#include <vector>

#include "test_image.h"

namespace integ {

struct TNamedImage {
  std::string name;
  outtest::TImage image;
};

const std::vector<TNamedImage>& SampleImages();

}  // namespace integ
