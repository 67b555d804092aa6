// Modules with the same export names in one process, one of them in the
// global symbol scope (as a library the host linked at load time, or loaded
// with RTLD_GLOBAL): each output plug-in's exports still act on its own
// slots, and it binds the routines of the module it is handed.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "test_paths.h"
#include "writer_under_test.h"

namespace integ {
namespace {

using outtest::TModule;
using outtest::TOutputPlugin;
using outtest::TWriterUnderTest;

// A private copy of a module, loaded into the global scope.
class TGlobalCopy {
 public:
  TGlobalCopy(const std::string& path, const std::string& folder)
      : path_((std::filesystem::path(folder) / std::filesystem::path(path).filename()).string()) {
    std::filesystem::copy_file(path, path_);
    handle_ = dlopen(path_.c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (handle_ == nullptr) throw std::runtime_error(dlerror());
  }
  ~TGlobalCopy() { dlclose(handle_); }
  TGlobalCopy(const TGlobalCopy&) = delete;
  TGlobalCopy& operator=(const TGlobalCopy&) = delete;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  void* handle_ = nullptr;
};

TEST(GlobalScope, AttachToDLLBindsThePlugInItIsCalledOn) {
  const outtest::TImage image = outtest::Sequence(0x100, 40);
  testkit::TTempDir dir;
  const TGlobalCopy globalCopy(outtest::WriterPath("s19"), dir.Path());
  const TModule globalModule(globalCopy.Path());  // the same module, for its exports
  const TOutputPlugin globalWriter(globalModule);
  auto producer = TModule::LoadCopy(outtest::ProducerPath(), dir.Path());
  outtest::SetProducerImage(*producer, image);

  // Loaded after the one in the global scope, which exports the same names.
  TWriterUnderTest writer("ihex", TWriterUnderTest::UNBOUND);
  ASSERT_TRUE(writer.Plugin().attachToDLL(producer->Handle()));
  EXPECT_EQ(writer.Save({}), TWriterUnderTest("ihex").Save(image));

  const std::string untouched = dir.File("untouched.s19");
  EXPECT_FALSE(globalWriter.saveAs(untouched.c_str())) << "the other plug-in's slots were bound";
  EXPECT_EQ(globalWriter.LastError(), "Only valid stream reader routines might be used /NULL not allowed/");
}

TEST(GlobalScope, AttachToDLLTakesTheRoutinesOfTheModuleItIsGiven) {
  testkit::TTempDir dir;
  const TGlobalCopy globalCopy(outtest::ProducerPath(), dir.Path());
  const TModule globalProducer(globalCopy.Path());
  outtest::SetProducerImage(globalProducer, outtest::Sequence(0, 8));
  testkit::TTempDir otherDir;
  auto producer = TModule::LoadCopy(outtest::ProducerPath(), otherDir.Path());
  const outtest::TImage image = outtest::Sequence(0x4000, 20, 0x30);
  outtest::SetProducerImage(*producer, image);

  TWriterUnderTest writer("s19", TWriterUnderTest::UNBOUND);
  ASSERT_TRUE(writer.Plugin().attachToDLL(producer->Handle()));
  EXPECT_EQ(writer.Save({}), TWriterUnderTest("s19").Save(image));
}

}  // namespace
}  // namespace integ
