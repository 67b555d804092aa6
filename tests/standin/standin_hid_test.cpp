// The stand-in as the programs see it: through hidapi's functions, preloaded
// ahead of the real library.
#include <gtest/gtest.h>
#include <hidapi.h>

#include <chrono>
#include <cwchar>
#include <filesystem>
#include <string>

#include "file_io.h"
#include "standin_testkit.h"

namespace {

struct TEntry {
  std::string path;
  unsigned short page;
  unsigned short usage;
  unsigned short release;
  bool hasSerial;
  std::wstring serial;
};

std::vector<TEntry> entries(unsigned short vendor, unsigned short product) {
  std::vector<TEntry> found;
  hid_device_info* all = hid_enumerate(vendor, product);
  for (hid_device_info* e = all; e; e = e->next) {
    EXPECT_EQ(e->vendor_id, 0x04D8);
    EXPECT_EQ(e->product_id, 0xFFEF);
    EXPECT_STREQ(e->manufacturer_string, L"Tolvane");
    EXPECT_STREQ(e->product_string, L"QDX controller stand-in");
    found.push_back({e->path, e->usage_page, e->usage, e->release_number, e->serial_number != nullptr,
                     e->serial_number ? e->serial_number : L""});
  }
  hid_free_enumeration(all);
  return found;
}

uint64_t elapsed_ms(std::chrono::steady_clock::time_point since) {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since).count());
}

const unsigned char stop_packet[64] = {2, 0x02, 48};

class Standin : public TStandinTest {};

TEST_F(Standin, ListsTwoEntriesPerController) {
  ASSERT_NO_FATAL_FAILURE(Start({{"QDXSIM_COUNT", "2"}}, false));
  std::vector<TEntry> all = entries(0x04D8, 0xFFEF);
  ASSERT_EQ(all.size(), 4u);
  const struct {
    int controller;
    unsigned short page, usage;
    const wchar_t* serial;
  } expected[] = {
      {0, 0xFF18, 0xFF00, L"QDXSIM0001"},
      {0, 0x0001, 0x0004, L"QDXSIM0001"},
      {1, 0xFF18, 0xFF00, L"QDXSIM0002"},
      {1, 0x0001, 0x0004, L"QDXSIM0002"},
  };
  for (size_t i = 0; i < all.size(); ++i) {
    EXPECT_EQ(all[i].path, standin_device_path(folder, expected[i].controller));
    EXPECT_TRUE(std::filesystem::is_regular_file(all[i].path)) << "the device node is a file";
    EXPECT_EQ(all[i].page, expected[i].page);
    EXPECT_EQ(all[i].usage, expected[i].usage);
    EXPECT_EQ(all[i].release >> 12, 1);
    EXPECT_EQ(all[i].serial, expected[i].serial);
  }
  EXPECT_EQ(entries(0, 0).size(), 4u);
  EXPECT_TRUE(entries(0x1234, 0).empty());
  EXPECT_TRUE(entries(0x04D8, 0x0001).empty());
}

TEST_F(Standin, ControllersAndTheirIdentityAreChosenByTheTest) {
  ASSERT_NO_FATAL_FAILURE(Start({{"QDXSIM_COUNT", "4"},
                                 {"QDXSIM_SERIALS", "@null,,@ffff,X"},
                                 {"QDXSIM_RELEASE", "0x1203,0x2001"},
                                 {"QDXSIM_PATH_PAD", "300"}},
                                false));
  std::vector<TEntry> all = entries(0x04D8, 0xFFEF);
  ASSERT_EQ(all.size(), 8u);
  EXPECT_FALSE(all[0].hasSerial);
  EXPECT_TRUE(all[2].hasSerial);
  EXPECT_EQ(all[2].serial, L"");
  EXPECT_EQ(all[4].serial, std::wstring(4, wchar_t(0xFFFF)));
  EXPECT_EQ(all[6].serial, L"X");
  EXPECT_EQ(all[0].release, 0x1203);
  EXPECT_EQ(all[2].release, 0x2001);
  EXPECT_EQ(all[6].release, 0x2001) << "the last release holds for the rest";
  EXPECT_EQ(all[0].path, standin_device_path(folder) + "-" + std::string(199, 'x') + "/" + std::string(100, 'x'));
  EXPECT_TRUE(std::filesystem::is_regular_file(all[0].path)) << "its names cut into folders";
}

// Without a folder named, the device nodes lie in a folder of the process's own.
TEST_F(Standin, DeviceNodesInAFolderOfItsOwn) {
  ASSERT_TRUE(standin_restart({}));
  std::vector<TEntry> all = entries(0x04D8, 0xFFEF);
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(std::filesystem::path(all[0].path).filename(), "qdxsim0");
  EXPECT_TRUE(std::filesystem::is_regular_file(all[0].path));
}

TEST_F(Standin, NoControllerNoEntry) {
  ASSERT_NO_FATAL_FAILURE(Start({{"QDXSIM_COUNT", "0"}}, false));
  EXPECT_EQ(hid_enumerate(0x04D8, 0xFFEF), nullptr);
  EXPECT_EQ(hid_open_path(standin_device_path(folder).c_str()), nullptr);
}

TEST_F(Standin, OpensEachControllerOnlyOnce) {
  ASSERT_NO_FATAL_FAILURE(Start());
  const std::string path = standin_device_path(folder);
  EXPECT_EQ(hid_open_path(path.c_str()), nullptr) << "held by the first handle";
  EXPECT_NE(hid_error(nullptr), nullptr);
  hid_close(dev);
  dev = hid_open_path(path.c_str());
  EXPECT_NE(dev, nullptr) << "free again after the close";
  EXPECT_EQ(hid_open_path("/dev/hidraw0"), nullptr);
  EXPECT_EQ(hid_open_path(nullptr), nullptr);
}

TEST_F(Standin, OpenFaultsCountTheOpens) {
  ASSERT_NO_FATAL_FAILURE(Start({{"QDXSIM_FAULTS", "open_fail:1,open_fail:3"}}, false));
  const std::string path = standin_device_path(folder);
  EXPECT_EQ(hid_open_path(path.c_str()), nullptr);
  dev = hid_open_path(path.c_str());
  ASSERT_NE(dev, nullptr);
  hid_close(dev);
  dev = hid_open_path(path.c_str());
  EXPECT_EQ(dev, nullptr);
}

TEST_F(Standin, FirmwareStringDescriptors) {
  const struct {
    const char* date;
    const char* signature;
    int result4, result5;
    std::wstring text4, text5;
  } cases[] = {
      {nullptr, nullptr, 0, 0, L"2024-03-18 stand-in build", L"QDXSIM-SIGNATURE"},
      {"@missing", "", -1, 0, L"", L""},
      {"@ffff", "@missing", 0, -1, std::wstring(4, wchar_t(0xFFFF)), L""},
  };
  for (const auto& c : cases) {
    TStandinEnv env;
    if (c.date) env.emplace_back("QDXSIM_FW_DATE", c.date);
    if (c.signature) env.emplace_back("QDXSIM_FW_SIGNATURE", c.signature);
    TearDown();
    ASSERT_NO_FATAL_FAILURE(Start(env));
    wchar_t text[300] = L"";
    EXPECT_EQ(hid_get_indexed_string(dev, 4, text, 300), c.result4);
    if (c.result4 == 0) {
      EXPECT_EQ(std::wstring(text), c.text4);
    }
    EXPECT_EQ(hid_get_indexed_string(dev, 5, text, 300), c.result5);
    if (c.result5 == 0) {
      EXPECT_EQ(std::wstring(text), c.text5);
    }
  }
  wchar_t shortText[5];
  EXPECT_EQ(hid_get_indexed_string(dev, 3, shortText, 5), 0);
  EXPECT_EQ(std::wstring(shortText), L"QDXS") << "cut to the buffer";
  EXPECT_EQ(hid_get_indexed_string(dev, 9, shortText, 5), -1);
  EXPECT_EQ(hid_get_indexed_string(dev, 4, nullptr, 5), -1);
}

TEST_F(Standin, BlockingReadsNeverWaitPastTheBound) {
  ASSERT_NO_FATAL_FAILURE(Start({{"QDXSIM_READ_BOUND_MS", "100"}}));
  unsigned char report[64];
  auto t0 = std::chrono::steady_clock::now();
  EXPECT_EQ(hid_read(dev, report, sizeof report), 0);
  EXPECT_GE(elapsed_ms(t0), 100u);
  EXPECT_LT(elapsed_ms(t0), 5000u);

  ASSERT_EQ(hid_write(dev, stop_packet, sizeof stop_packet), 64);
  t0 = std::chrono::steady_clock::now();
  EXPECT_EQ(hid_read(dev, report, sizeof report), 64) << "the answer is there at once";
  EXPECT_LT(elapsed_ms(t0), 100u);
  EXPECT_EQ(report[1], 20);

  ASSERT_EQ(hid_set_nonblocking(dev, 1), 0);
  t0 = std::chrono::steady_clock::now();
  EXPECT_EQ(hid_read(dev, report, sizeof report), 0);
  EXPECT_EQ(hid_read_timeout(dev, report, sizeof report, 0), 0);
  EXPECT_LT(elapsed_ms(t0), 100u);
}

TEST_F(Standin, RecordsWhatItReceivedAndDumpsTheFlash) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_EQ(hid_set_nonblocking(dev, 1), 0);
  ASSERT_EQ(hid_write(dev, stop_packet, sizeof stop_packet), 64);
  unsigned char report[64];
  ASSERT_EQ(hid_read(dev, report, sizeof report), 64);
  hid_close(dev);
  dev = nullptr;

  std::vector<TRecordLine> record = Record();
  std::vector<std::string> events;
  for (const TRecordLine& line : record) events.push_back(line.event);
  EXPECT_EQ(events, (std::vector<std::string>{"enumerate", "open", "nonblocking", "write", "mode", "report", "close"}));
  EXPECT_EQ(record[1].fields, (std::vector<std::string>{"0", "ok", standin_device_path(folder)}));
  EXPECT_EQ(record[3].fields.at(1), "64");
  EXPECT_EQ(standin_hex(record[3].fields.at(2)), TBytes(stop_packet, stop_packet + 64));
  EXPECT_EQ(record[4].fields, (std::vector<std::string>{"0", "48"}));
  EXPECT_EQ(standin_hex(record[5].fields.at(1)), TBytes(report, report + 64));

  const TBytes flash = testkit::ReadBytes(FlashFile());
  EXPECT_EQ(flash, TBytes(0x20000, 0xFF));
}

TEST_F(Standin, FailedWritesAreRecordedAndNotAnswered) {
  ASSERT_NO_FATAL_FAILURE(Start({{"QDXSIM_FAULTS", "write_fail:2"}}));
  ASSERT_EQ(hid_set_nonblocking(dev, 1), 0);
  unsigned char report[64];
  const unsigned char tooLong[65] = {2};
  EXPECT_EQ(hid_write(dev, stop_packet, 64), 64);
  EXPECT_EQ(hid_write(dev, stop_packet, 64), -1);
  EXPECT_EQ(hid_write(dev, tooLong, sizeof tooLong), -1);
  EXPECT_EQ(hid_write(dev, nullptr, 64), -1);
  EXPECT_EQ(hid_read(dev, report, sizeof report), 64);
  EXPECT_EQ(hid_read(dev, report, sizeof report), 0) << "only the first write was answered";
  std::vector<TRecordLine> writes = standin_events(Record(), "write");
  ASSERT_EQ(writes.size(), 4u);
  EXPECT_EQ(writes[0].fields.at(1), "64");
  EXPECT_EQ(writes[1].fields.at(1), "-1");
}

TEST_F(Standin, NullHandlesAreRefused) {
  ASSERT_NO_FATAL_FAILURE(Start({}, false));
  unsigned char report[64];
  wchar_t text[8];
  EXPECT_EQ(hid_read(nullptr, report, sizeof report), -1);
  EXPECT_EQ(hid_write(nullptr, report, sizeof report), -1);
  EXPECT_EQ(hid_set_nonblocking(nullptr, 1), -1);
  EXPECT_EQ(hid_get_indexed_string(nullptr, 4, text, 8), -1);
  EXPECT_EQ(hid_get_device_info(nullptr), nullptr);
  hid_close(nullptr);
}

}  // namespace
