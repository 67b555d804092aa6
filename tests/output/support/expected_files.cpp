#include "expected_files.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "writer_under_test.h"

namespace outtest {

std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

void ExpectFiles(const std::string& key, const std::vector<TExpectedFile>& cases) {
  for (const TExpectedFile& expected : cases) {
    SCOPED_TRACE(expected.name);
    TWriterUnderTest writer(key);
    EXPECT_EQ(writer.Save(expected.image), expected.text);
  }
}

std::string Items(const std::vector<uint8_t>& values) {
  std::string items;
  char item[8];
  for (uint8_t value : values) {
    std::snprintf(item, sizeof item, " 0x%02X,", value);
    items += item;
  }
  if (!items.empty()) items.pop_back();
  return items;
}

std::vector<uint8_t> Values(size_t count, uint8_t first) {
  std::vector<uint8_t> values;
  for (size_t i = 0; i < count; ++i) values.push_back(static_cast<uint8_t>(first + i));
  return values;
}

}  // namespace outtest
