#pragma once
// A run of the Windows device tool in the case's own folder, which holds the
// tool, the two plug-ins and the controller stand-in's DLLs, against fresh
// stand-in controllers recording into the same folder.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "child_process.h"
#include "standin_testkit.h"
#include "temp_dir.h"

using TToolEnv = std::vector<std::pair<std::string, std::string>>;

class TWindowsToolTest : public ::testing::Test {
 protected:
  // Compiles the example host's image into image.s19 (and image.bin) and
  // lays out the folder.
  void SetUp() override;

  // tool (qdx_tool.exe or qdx_tool_trace.exe) of the folder with args and
  // standard input, a pipe or, onConsole, a console the input is typed on.
  testkit::TChildRun Run(const std::vector<std::string>& args, const TToolEnv& env = {}, const std::string& input = "",
                         const std::string& tool = "qdx_tool.exe", bool onConsole = false);
  std::vector<TRecordLine> Record() const { return standin_record(File("record.txt")); }
  std::string File(const std::string& name) const { return folder.File(name); }
  // The controller's flash holds the image and nothing else.
  void ExpectFlashHoldsTheImage() const;

  testkit::TTempDir folder;
  std::vector<uint8_t> image;
  uint64_t lastRunMs = 0;  // how long the last run took
};
