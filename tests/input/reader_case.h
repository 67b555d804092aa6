#pragma once
// One row of a reader's table: a file, whether it loads, and the image the
// plug-in then serves, in the served order.
#include "input_plugin.h"

#include <string>
#include <vector>

struct TReaderCase {
  const char* name;
  std::string content;
  bool loads;
  std::vector<TImageByte> image;
};

inline void PrintTo(const TReaderCase& row, std::ostream* out) { *out << row.name; }

void tests_CheckReaderCase(const char* format, const TReaderCase& row);

// Names the instantiated cases after the rows.
struct TReaderCaseName {
  template <typename Info>
  std::string operator()(const Info& info) const {
    return info.param.name;
  }
};
