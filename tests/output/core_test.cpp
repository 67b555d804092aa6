// The core every output plug-in carries, run against each file writer.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "file_io.h"
#include "test_paths.h"
#include "writer_under_test.h"

namespace outtest {
namespace {

const char ONLY_VALID_ROUTINES[] = "Only valid stream reader routines might be used /NULL not allowed/";
const char* const ROUTINE_NAMES[] = {"GetFirstByte", "GetNextByte", "GetCurrentByteData", "GetCurrentByteAddress"};

std::string NullAssignment(const std::string& name) { return "NULL assignment attempt to '" + name + "' function"; }
std::string CannotWrite(const std::string& path) { return "Couldn't write to '" + path + "'."; }

// Binds slot 0 to 3 (in the order of ROUTINE_NAMES) to the served image, or to null.
bool BindSlot(const TOutputPlugin& plugin, int slot, bool served) {
  switch (slot) {
    case 0: return plugin.setFirstByte(served ? ServedFirstByte : nullptr);
    case 1: return plugin.setNextByte(served ? ServedNextByte : nullptr);
    case 2: return plugin.setData(served ? ServedByteData : nullptr);
    default: return plugin.setAddress(served ? ServedByteAddress : nullptr);
  }
}

const TImage SMALL_IMAGE = Bytes(0x100, {0x11, 0x22, 0x33}) + Bytes(0x2000, {0x44});

class CoreTest : public ::testing::TestWithParam<std::string> {
 protected:
  TWriterUnderTest writer{GetParam()};
  const TOutputPlugin& plugin = writer.Plugin();

  std::string File(const std::string& name) const { return writer.Dir().File(name); }
  // False, the given error text, and no file at `path`.
  void ExpectRefused(const std::string& path, const std::string& error) {
    EXPECT_FALSE(plugin.saveAs(path.c_str()));
    EXPECT_EQ(plugin.LastError(), error);
    EXPECT_FALSE(testkit::FileExists(path));
  }
};

TEST_P(CoreTest, FreshPluginHasEmptyErrorText) {
  char text[8];
  std::memset(text, 'x', sizeof text);
  EXPECT_EQ(plugin.getLastErrorMsg(text, sizeof text), 0);
  EXPECT_STREQ(text, "");
}

TEST_P(CoreTest, UnboundPluginRefusesToSave) {
  TWriterUnderTest unbound(GetParam(), TWriterUnderTest::UNBOUND);
  ServeImage(SMALL_IMAGE);
  const std::string path = unbound.Dir().File("out");
  EXPECT_FALSE(unbound.Plugin().saveAs(path.c_str()));
  EXPECT_EQ(unbound.Plugin().LastError(), ONLY_VALID_ROUTINES);
  EXPECT_FALSE(testkit::FileExists(path));
}

TEST_P(CoreTest, NullFileNameIsRefused) {
  ServeImage(SMALL_IMAGE);
  EXPECT_FALSE(plugin.saveAs(nullptr));
  EXPECT_EQ(plugin.LastError(), NullAssignment("fileName in SaveAs"));
}

TEST_P(CoreTest, NullSetterEmptiesItsSlotOnly) {
  ServeImage(SMALL_IMAGE);
  for (int slot = 0; slot < 4; ++slot) {
    SCOPED_TRACE(ROUTINE_NAMES[slot]);
    ASSERT_TRUE(BindServedImage(plugin));
    EXPECT_FALSE(BindSlot(plugin, slot, false));
    EXPECT_EQ(plugin.LastError(), NullAssignment(ROUTINE_NAMES[slot]));
    ExpectRefused(File("out"), ONLY_VALID_ROUTINES);
    // Setting that slot again is all it takes.
    EXPECT_TRUE(BindSlot(plugin, slot, true));
    EXPECT_EQ(plugin.LastError(), ONLY_VALID_ROUTINES);
    EXPECT_TRUE(plugin.saveAs(File("out").c_str())) << plugin.LastError();
    std::remove(File("out").c_str());
  }
}

TEST_P(CoreTest, AttachedProducerIsSavedLikeBoundFunctions) {
  auto producer = TModule::LoadCopy(ProducerPath(), writer.Dir().Path());
  SetProducerImage(*producer, SMALL_IMAGE);
  ASSERT_EQ(ReadImage(*producer), SMALL_IMAGE);
  ServeImage({});  // the served functions, no longer bound, would save nothing
  ASSERT_TRUE(plugin.AttachAndSave(producer->Handle(), File("attached"))) << plugin.LastError();
  EXPECT_EQ(testkit::ReadText(File("attached")), writer.Save(SMALL_IMAGE));
}

struct TMissingRoutines {
  std::string variant;
  std::string namedInError;
};

TEST_P(CoreTest, AttachToModuleLackingRoutinesEmptiesAllSlots) {
  const TMissingRoutines cases[] = {
      {"GetFirstByte", "GetFirstByte"},
      {"GetNextByte", "GetNextByte"},
      {"GetCurrentByteData", "GetCurrentByteData"},
      {"GetCurrentByteAddress", "GetCurrentByteAddress"},
      {"GetFirstByte+GetCurrentByteData", "GetCurrentByteData"},
  };
  auto complete = TModule::LoadCopy(ProducerPath(), writer.Dir().Path());
  SetProducerImage(*complete, SMALL_IMAGE);
  ServeImage(SMALL_IMAGE);
  for (const TMissingRoutines& missing : cases) {
    SCOPED_TRACE(missing.variant);
    testkit::TTempDir folder;
    auto partial = TModule::LoadCopy(ProducerPath(missing.variant), folder.Path());
    // Whichever slot is left out of a rebinding, the save is refused: none
    // of the complete producer's routines stayed bound.
    for (int unset = 0; unset < 4; ++unset) {
      ASSERT_TRUE(plugin.attachToDLL(complete->Handle()));
      EXPECT_FALSE(plugin.attachToDLL(partial->Handle()));
      EXPECT_EQ(plugin.LastError(), NullAssignment(missing.namedInError));
      for (int slot = 0; slot < 4; ++slot)
        if (slot != unset) BindSlot(plugin, slot, true);
      ExpectRefused(File("out"), ONLY_VALID_ROUTINES);
    }
  }
}

TEST_P(CoreTest, NullHandleKeepsAttachedRoutines) {
  auto producer = TModule::LoadCopy(ProducerPath(), writer.Dir().Path());
  SetProducerImage(*producer, SMALL_IMAGE);
  ServeImage({});
  ASSERT_TRUE(plugin.attachToDLL(producer->Handle()));
  EXPECT_FALSE(plugin.attachToDLL(nullptr));
  EXPECT_EQ(plugin.LastError(), "Invalid DLL handle passed to 'AttachToDLL'");
  EXPECT_TRUE(plugin.saveAs(File("out").c_str())) << plugin.LastError();
  EXPECT_EQ(testkit::ReadText(File("out")), writer.Save(SMALL_IMAGE));
}

TEST_P(CoreTest, EmptyImageCreatesNoFileAndKeepsAnExistingOne) {
  ServeImage({});
  ExpectRefused(File("new"), "Nothing to write.");
  testkit::WriteFile(File("old"), "keep me");
  EXPECT_FALSE(plugin.saveAs(File("old").c_str()));
  EXPECT_EQ(testkit::ReadFile(File("old")), "keep me");
}

TEST_P(CoreTest, UnwritableDestinationsFail) {
  ServeImage(SMALL_IMAGE);
  const std::string destinations[] = {"/dev/full", File("no-such-folder/out"), writer.Dir().Path(), ""};
  for (const std::string& destination : destinations) {
    SCOPED_TRACE(destination);
    EXPECT_FALSE(plugin.saveAs(destination.c_str()));
    EXPECT_EQ(plugin.LastError(), CannotWrite(destination));
  }
  EXPECT_FALSE(testkit::FileExists(File("no-such-folder")));
}

TEST_P(CoreTest, OverlongMessageIsCutTo511Characters) {
  ServeImage(SMALL_IMAGE);
  const std::string path = File(std::string(600, 'n'));
  EXPECT_FALSE(plugin.saveAs(path.c_str()));
  EXPECT_EQ(plugin.getLastErrorMsg(nullptr, 0), 511);
  EXPECT_EQ(plugin.LastError(), CannotWrite(path).substr(0, 511));
}

TEST_P(CoreTest, GetLastErrorMsgCopiesAtMostTheBufferSize) {
  ServeImage({});
  ASSERT_FALSE(plugin.saveAs(File("out").c_str()));
  const std::string text = "Nothing to write.";
  EXPECT_EQ(plugin.getLastErrorMsg(nullptr, 100), 17);
  for (unsigned size : {0u, 1u, 5u, 17u, 18u, 64u}) {
    SCOPED_TRACE(size);
    std::vector<char> buffer(size + 8, '#');
    EXPECT_EQ(plugin.getLastErrorMsg(buffer.data(), size), 17);
    if (size == 0) {
      EXPECT_EQ(buffer[0], '#');
      continue;
    }
    EXPECT_EQ(std::string(buffer.data()), text.substr(0, size - 1));
    EXPECT_EQ(buffer[size], '#') << "written past the buffer";
  }
}

TEST_P(CoreTest, SuccessKeepsTheLastErrorText) {
  ServeImage({});
  ASSERT_FALSE(plugin.saveAs(File("out").c_str()));
  EXPECT_TRUE(BindServedImage(plugin));
  EXPECT_NE(writer.Save(SMALL_IMAGE).rfind("SaveAs failed", 0), 0u);
  EXPECT_EQ(plugin.LastError(), "Nothing to write.");
}

// A producer that empties between the check and the walk.
int firstByteCalls = 0;
bool FirstByteOnlyOnce() { return ++firstByteCalls == 1; }

TEST_P(CoreTest, ImageEmptiedAfterTheCheckLeavesAnEmptyFile) {
  firstByteCalls = 0;
  ServeImage(SMALL_IMAGE);
  ASSERT_TRUE(plugin.setFirstByte(FirstByteOnlyOnce));
  EXPECT_TRUE(plugin.saveAs(File("out").c_str())) << plugin.LastError();
  EXPECT_EQ(firstByteCalls, 2);
  EXPECT_TRUE(testkit::FileExists(File("out")));
  EXPECT_EQ(testkit::ReadFile(File("out")), "");
}

// Routines that log the order in which the walk calls them.
std::string calls;
bool LoggedFirst() { return calls += 'F', ServedFirstByte(); }
bool LoggedNext() { return calls += 'N', ServedNextByte(); }
uint8_t LoggedData() { return calls += 'D', ServedByteData(); }
uint32_t LoggedAddress() { return calls += 'A', ServedByteAddress(); }

TEST_P(CoreTest, WalkCallsTheRoutinesInContractOrder) {
  ServeImage(Bytes(0x10, {1, 2, 3}));
  ASSERT_TRUE(plugin.Bind(LoggedFirst, LoggedNext, LoggedData, LoggedAddress));
  for (int save = 0; save < 2; ++save) {
    calls.clear();
    EXPECT_TRUE(plugin.saveAs(File("out").c_str())) << plugin.LastError();
    EXPECT_EQ(calls, "FFADNADNADN");
  }
}

INSTANTIATE_TEST_SUITE_P(EveryFileWriter, CoreTest, ::testing::ValuesIn(FileWriterKeys()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace outtest
