#include "writer_under_test.h"

#include <gtest/gtest.h>

#include "file_io.h"
#include "test_paths.h"

namespace outtest {

TWriterUnderTest::TWriterUnderTest(const std::string& key, TBinding binding)
    : module_(TModule::LoadCopy(WriterPath(key), dir_.Path())), plugin_(*module_) {
  if (binding == SERVED_IMAGE) BindServedImage(plugin_);
}

std::string TWriterUnderTest::Save(const TImage& image) {
  ServeImage(image);
  lastFile_ = dir_.File("out" + std::to_string(++saves_));
  if (!plugin_.saveAs(lastFile_.c_str())) return "SaveAs failed: " + plugin_.LastError();
  // A text file: its lines end in CR LF on Windows.
  EXPECT_TRUE(testkit::HasPlatformLineEnds(testkit::ReadFile(lastFile_))) << lastFile_;
  return testkit::ReadText(lastFile_);
}

}  // namespace outtest
