#pragma once
// A run of the device tool against fresh stand-in controllers, with the
// record and flash files in the case's own folder.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "file_io.h"
#include "standin_testkit.h"
#include "tool_runner.h"
#include "tool_texts.h"

class TToolTest : public ::testing::Test {
 protected:
  // The quiet build, unless program is given; QDXSIM_RECORD,
  // QDXSIM_FLASH_OUT and QDXSIM_DEVICE_DIR are added to env.
  testkit::TChildRun Run(const std::vector<std::string>& args, const TToolEnv& env = {}, const std::string& input = "",
                         const std::string& program = QDXTEST_TOOL);

  // A tree of the installed layout in the case's folder: the tool (a copy,
  // so that it finds lib/ beside its own bin/) and the given files in lib/
  // under the given names. Answers the copied tool's path.
  std::string InstallTree(const std::vector<std::pair<std::string, std::string>>& libraries,
                          const std::string& program = QDXTEST_TOOL);

  std::vector<TRecordLine> Record() const { return standin_record(folder.File("record.txt")); }
  std::vector<std::string> Events(const std::string& event, size_t field) const;
  TBytes Flash() const { return testkit::ReadBytes(folder.File("flash.bin")); }
  std::string File(const std::string& name) const { return folder.File(name); }
  // The device path of the stand-in's controller i.
  std::string DevicePath(int controller = 0) const { return standin_device_path(folder, controller); }

  testkit::TTempDir folder;
};

namespace tooltest {

// A row of a table of cases, which gtest prints and names by its name.
struct TNamedCase {
  const char* name;
};

inline std::ostream& operator<<(std::ostream& out, const TNamedCase& c) { return out << c.name; }

struct TCaseName {
  template <typename TCase>
  std::string operator()(const ::testing::TestParamInfo<TCase>& info) const {
    return info.param.name;
  }
};

}  // namespace tooltest

// A table of cases run by the tool.
template <typename TCase>
class TToolTable : public TToolTest, public ::testing::WithParamInterface<TCase> {};
