#pragma once
// Test helpers around the controller stand-in: start each case with fresh
// controllers, open one, and read back what the stand-in recorded.
#include <gtest/gtest.h>
#include <hidapi.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "temp_dir.h"

using TStandinEnv = std::vector<std::pair<std::string, std::string>>;
using TBytes = std::vector<uint8_t>;

struct TRecordLine {
  std::string event;
  std::vector<std::string> fields;
};

// True when the stand-in is loaded into this process. A test program that
// links qdx_standin_preload and is started without it starts itself again
// with it.
bool standin_loaded();

// Clears every QDXSIM_ variable, sets the given ones and rebuilds the
// stand-in's controllers. False when the stand-in is not preloaded.
bool standin_restart(const TStandinEnv& env);

// The device path of the ordinal-th controller's diagnostic entry, or ""
// when there is none or the entry is not the stand-in's.
std::string standin_diag_path(int ordinal);

std::vector<TRecordLine> standin_record(const std::string& file);
std::vector<TRecordLine> standin_events(const std::vector<TRecordLine>& record, const std::string& event);
// Field `field` of every line of that event.
std::vector<std::string> standin_fields(const std::vector<TRecordLine>& record, const std::string& event, size_t field);
TBytes standin_hex(const std::string& hex);

// The folder of the stand-in's device nodes in a case's folder (Linux), and
// the path of controller i there.
extern const char* const STANDIN_DEVICE_FOLDER;
std::string standin_device_path(const testkit::TTempDir& folder, int controller = 0);

// A case against the stand-in: Start() restarts it with the case's own
// record and flash files and device nodes, and opens controller 0; TearDown
// closes it.
class TStandinTest : public ::testing::Test {
 protected:
  void Start(const TStandinEnv& env = {}, bool open = true);
  void TearDown() override;

  std::vector<TRecordLine> Record() const;
  // The bytes of every write the stand-in received, failed ones included.
  std::vector<TBytes> Written() const;
  std::string RecordFile() const { return folder.File("record.txt"); }
  std::string FlashFile() const { return folder.File("flash.bin"); }

  testkit::TTempDir folder;
  hid_device* dev = nullptr;
};
