#pragma once
// Tables of images and the exact files a writer must make of them.
#include <initializer_list>
#include <string>
#include <vector>

#include "test_image.h"

namespace outtest {

struct TExpectedFile {
  std::string name;
  TImage image;
  std::string text;
};

// The lines, each with its line end.
std::string Lines(std::initializer_list<std::string> lines);

// Saves each image with a fresh copy of the writer `key` and compares the files.
void ExpectFiles(const std::string& key, const std::vector<TExpectedFile>& cases);

// The data directive items " 0xHH, 0xHH, ..." of the values, without a last comma.
std::string Items(const std::vector<uint8_t>& values);
// The values first, first + 1, ... of `count` bytes.
std::vector<uint8_t> Values(size_t count, uint8_t first = 0);

}  // namespace outtest
