#pragma once
// A fresh copy of libwr_qdx per case, fed by the test program's served image
// and programming the stand-in's controllers.
#include <memory>
#include <string>
#include <vector>

#include "file_io.h"
#include "plugin_module.h"
#include "served_image.h"
#include "standin_testkit.h"
#include "test_image.h"

// What one SaveAs did.
struct TSaveRun {
  bool result = false;
  std::string output;  // all it printed
  std::string error;   // GetLastErrorMsg afterwards
};

// A 132-byte load block as the controller received it.
struct TSentBlock {
  uint32_t address = 0;
  TBytes data;  // the 128 data bytes, tail included
};

class TQdxWriterTest : public TStandinTest {
 protected:
  // Restarts the stand-in with env (no device opened by the test) and loads
  // the writer with the served image bound.
  void Begin(const TStandinEnv& env = {});
  TSaveRun Save(const outtest::TImage& image, const std::string& destination);
  // "/../?/qdx1://@" and the path of the ordinal-th controller.
  static std::string PathDestination(int ordinal = 0);

  // The load blocks the controllers received, in order.
  std::vector<TSentBlock> SentBlocks() const;
  // The values of one record event's first field after the controller index.
  std::vector<std::string> EventFields(const std::string& event, size_t field) const;
  TBytes Flash() const { return testkit::ReadBytes(FlashFile()); }

  std::unique_ptr<outtest::TModule> module;
  std::unique_ptr<outtest::TOutputPlugin> plugin;
};

// The lines the writer prints from the connection to the load prompt.
extern const char* const QDX_CONNECTED_TO_LOADING;
// The stand-in's product string with the serial form's arrow.
extern const char* const QDX_CANDIDATE;

// The stand-in's small valid image (settings block, one record, END_OF_PROGRAM).
std::vector<uint8_t> qdxtest_ValidImage();
