#include "standin_testkit.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "child_process.h"
#include "standin_process.h"

const char* const STANDIN_DEVICE_FOLDER = "devices";

std::string standin_device_path(const testkit::TTempDir& folder, int controller) {
  return folder.File(std::string(STANDIN_DEVICE_FOLDER) + "/qdxsim" + std::to_string(controller));
}

bool standin_loaded() { return standin_function("qdxsim_reset") != nullptr; }

bool standin_restart(const TStandinEnv& env) {
  if (!standin_loaded()) return false;
  for (const std::string& entry : testkit::CurrentEnvironment()) {
    if (entry.rfind("QDXSIM_", 0) == 0) standin_set_variable(entry.substr(0, entry.find('=')), nullptr);
  }
  for (const auto& item : env) standin_set_variable(item.first, item.second.c_str());
  using TReset = int (*)();
  auto reset = reinterpret_cast<TReset>(standin_function("qdxsim_reset"));
  return reset && reset() == 0;
}

std::string standin_diag_path(int ordinal) {
  std::string path;
  hid_device_info* all = hid_enumerate(0x04D8, 0xFFEF);
  for (hid_device_info* entry = all; entry; entry = entry->next) {
    if (entry->usage_page != 0xFF18 || entry->usage != 0xFF00) continue;
    if (ordinal-- == 0) {
      if (entry->product_string && std::wstring(entry->product_string) == L"QDX controller stand-in")
        path = entry->path;
      break;
    }
  }
  hid_free_enumeration(all);
  return path;
}

std::vector<TRecordLine> standin_record(const std::string& file) {
  std::vector<TRecordLine> lines;
  std::ifstream in(file);
  std::string text;
  while (std::getline(in, text)) {
    std::istringstream words(text);
    TRecordLine line;
    words >> line.event;
    line.fields.assign(std::istream_iterator<std::string>(words), std::istream_iterator<std::string>());
    lines.push_back(line);
  }
  return lines;
}

std::vector<TRecordLine> standin_events(const std::vector<TRecordLine>& record, const std::string& event) {
  std::vector<TRecordLine> found;
  for (const TRecordLine& line : record) {
    if (line.event == event) found.push_back(line);
  }
  return found;
}

std::vector<std::string> standin_fields(const std::vector<TRecordLine>& record, const std::string& event,
                                        size_t field) {
  std::vector<std::string> values;
  for (const TRecordLine& line : standin_events(record, event)) values.push_back(line.fields.at(field));
  return values;
}

TBytes standin_hex(const std::string& hex) {
  TBytes bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes.push_back(static_cast<uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
  return bytes;
}

void TStandinTest::Start(const TStandinEnv& env, bool open) {
  TStandinEnv all = env;
  all.emplace_back("QDXSIM_RECORD", RecordFile());
  all.emplace_back("QDXSIM_FLASH_OUT", FlashFile());
  all.emplace_back("QDXSIM_DEVICE_DIR", folder.File(STANDIN_DEVICE_FOLDER));
  ASSERT_TRUE(standin_restart(all)) << "the controller stand-in is not preloaded (LD_PRELOAD)";
  if (!open) return;
  const std::string path = standin_diag_path(0);
  ASSERT_FALSE(path.empty()) << "no controller of the stand-in listed";
  dev = hid_open_path(path.c_str());
  ASSERT_NE(dev, nullptr);
}

void TStandinTest::TearDown() {
  if (dev) hid_close(dev);
  dev = nullptr;
}

std::vector<TRecordLine> TStandinTest::Record() const { return standin_record(RecordFile()); }

std::vector<TBytes> TStandinTest::Written() const {
  std::vector<TBytes> writes;
  for (const TRecordLine& line : standin_events(Record(), "write")) writes.push_back(standin_hex(line.fields.at(2)));
  return writes;
}
