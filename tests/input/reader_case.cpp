#include "reader_case.h"

#include <gtest/gtest.h>

void tests_CheckReaderCase(const char* format, const TReaderCase& row) {
  TInputPlugin plugin(format);
  EXPECT_EQ(plugin.LoadText(row.content), row.loads);
  EXPECT_EQ(plugin.Walk(), row.image);
}
