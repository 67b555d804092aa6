#pragma once
// One output plug-in as a test uses it: a private copy in a folder of the
// test's own, with the test program's served image bound to it.
#include <memory>
#include <string>

#include "plugin_module.h"
#include "served_image.h"
#include "temp_dir.h"

namespace outtest {

class TWriterUnderTest {
 public:
  enum TBinding { SERVED_IMAGE, UNBOUND };
  // key: as for WriterPath.
  explicit TWriterUnderTest(const std::string& key, TBinding binding = SERVED_IMAGE);

  const TOutputPlugin& Plugin() const { return plugin_; }
  const testkit::TTempDir& Dir() const { return dir_; }

  // Saves `image` to a new file of the folder; the file's content read as
  // text (after checking its line ends), or the error text behind
  // "SaveAs failed: " when the save answered false.
  std::string Save(const TImage& image);
  // The path of the file the last Save wrote.
  const std::string& LastFile() const { return lastFile_; }

 private:
  testkit::TTempDir dir_;
  std::unique_ptr<TModule> module_;
  TOutputPlugin plugin_;
  int saves_ = 0;
  std::string lastFile_;
};

}  // namespace outtest
