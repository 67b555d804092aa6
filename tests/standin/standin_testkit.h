#pragma once
// Test helpers around the controller stand-in: start each case with fresh
// controllers, open one, and read back what the stand-in recorded.
#include <gtest/gtest.h>
#include <hidapi.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using TStandinEnv = std::vector<std::pair<std::string, std::string>>;
using TBytes = std::vector<uint8_t>;

// A folder of one test's own, removed with everything in it.
class TTempFolder {
public:
    TTempFolder();
    ~TTempFolder();
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;
    std::string File(const std::string& name) const;

private:
    std::string path;
};

struct TRecordLine {
    std::string event;
    std::vector<std::string> fields;
};

// Clears every QDXSIM_ variable, sets the given ones and rebuilds the
// stand-in's controllers. False when the stand-in is not preloaded.
bool standin_restart(const TStandinEnv& env);

// The device path of the ordinal-th controller's diagnostic entry, or ""
// when there is none or the entry is not the stand-in's.
std::string standin_diag_path(int ordinal);

std::vector<TRecordLine> standin_record(const std::string& file);
std::vector<TRecordLine> standin_events(const std::vector<TRecordLine>& record, const std::string& event);
TBytes standin_hex(const std::string& hex);
TBytes standin_read_file(const std::string& file);

// A case against the stand-in: Start() restarts it with the case's own
// record and flash files and opens controller 0; TearDown closes it.
class TStandinTest : public ::testing::Test {
protected:
    void Start(const TStandinEnv& env = {}, bool open = true);
    void TearDown() override;

    std::vector<TRecordLine> Record() const;
    // The bytes of every write the stand-in received, failed ones included.
    std::vector<TBytes> Written() const;
    std::string RecordFile() const { return folder.File("record.txt"); }
    std::string FlashFile() const { return folder.File("flash.bin"); }

    TTempFolder folder;
    hid_device* dev = nullptr;
};
