// hid_open_path in the Windows backend: exclusive, without a fallback to an
// open that can neither read nor write, and with the failing step named.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "hid_backend_fixture.h"
#include "temp_dir.h"

namespace {

std::string last_error() {
  const wchar_t* text = hid_error(nullptr);
  return text ? std::string(text, text + std::wcslen(text)) : std::string();
}

class HidOpen : public THidBackendTest {};

TEST_F(HidOpen, ASecondOpenOfAHeldControllerFails) {
  ASSERT_NO_FATAL_FAILURE(Open());
  const std::string path = standin_diag_path(0);
  ASSERT_FALSE(path.empty()) << "a held controller is still listed";
  EXPECT_EQ(hid_open_path(path.c_str()), nullptr);
  EXPECT_NE(last_error().find("(0x00000020)"), std::string::npos) << last_error();  // sharing violation
  hid_close(dev);
  dev = hid_open_path(path.c_str());
  EXPECT_NE(dev, nullptr) << "free again once closed";
  EXPECT_EQ(standin_fields(Record(), "open", 1), (std::vector<std::string>{"ok", "fail", "ok"}));
}

// The share mode itself, where the file system enforces it as Windows does.
TEST_F(HidOpen, AnOrdinaryFileOpensExclusivelyWithoutFallback) {
  ASSERT_NO_FATAL_FAILURE(Start({}, false));
  testkit::TTempDir folder;
  const std::string file = folder.Write("device", "");
  hid_device* first = hid_open_path(file.c_str());
  ASSERT_NE(first, nullptr) << last_error();
  EXPECT_EQ(hid_open_path(file.c_str()), nullptr);
  EXPECT_EQ(last_error().rfind("CreateFile: (0x00000020)", 0), 0u) << last_error();
  // Not even a reader, a writer or a deleter that shares everything gets in:
  // the device is held with a share mode of 0, not merely one that shares less.
  const struct {
    const char* name;
    DWORD access;
  } probes[] = {{"reader", GENERIC_READ}, {"writer", GENERIC_WRITE}, {"deleter", DELETE}};
  for (const auto& probe : probes) {
    HANDLE other = CreateFileA(file.c_str(), probe.access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD error = GetLastError();
    EXPECT_EQ(other, INVALID_HANDLE_VALUE) << probe.name;
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_SHARING_VIOLATION)) << probe.name;
    if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
  }
  hid_close(first);
  hid_device* again = hid_open_path(file.c_str());
  EXPECT_NE(again, nullptr);
  hid_close(again);
}

struct TFailingStep {
  const char* name;
  const char* fault;
  const char* error;  // how hid_error(NULL) begins
};

std::ostream& operator<<(std::ostream& out, const TFailingStep& c) { return out << c.name; }

class HidOpenFailingStep : public THidBackendTest, public ::testing::WithParamInterface<TFailingStep> {};

// An open that fails after its CreateFile names the step and lets go of the
// device: the next open takes it.
TEST_P(HidOpenFailingStep, ReturnsNullNamesTheStepAndLeavesTheDeviceFree) {
  ASSERT_NO_FATAL_FAILURE(Start({{"QDXSIM_FAULTS", GetParam().fault}}, false));
  const std::string path = standin_diag_path(0);
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(hid_open_path(path.c_str()), nullptr);
  EXPECT_EQ(last_error().rfind(GetParam().error, 0), 0u) << last_error();
  dev = hid_open_path(path.c_str());
  EXPECT_NE(dev, nullptr) << last_error();
  EXPECT_EQ(standin_fields(Record(), "open", 1), (std::vector<std::string>{"ok", "ok"}));
  EXPECT_EQ(standin_events(Record(), "close").size(), 1u) << "the failed open's handle is closed";
}

INSTANTIATE_TEST_SUITE_P(
    Steps, HidOpenFailingStep,
    ::testing::Values(TFailingStep{"preparsed_data", "preparsed_fail:1", "HidD_GetPreparsedData: (0x0000001F)"},
                      TFailingStep{"caps", "caps_fail:1", "HidP_GetCaps"}),
    [](const ::testing::TestParamInfo<TFailingStep>& info) { return std::string(info.param.name); });

struct TBadPath {
  const char* name;
  const char* path;
  const char* error;  // how hid_error(NULL) begins
};

std::ostream& operator<<(std::ostream& out, const TBadPath& c) { return out << c.name; }

class HidOpenBadPath : public ::testing::TestWithParam<TBadPath> {};

// Nothing to open: null, and the step that failed in hid_error(NULL).
TEST_P(HidOpenBadPath, ReturnsNullAndNamesTheStep) {
  ASSERT_EQ(hid_init(), 0);
  EXPECT_EQ(hid_open_path(GetParam().path), nullptr);
  EXPECT_EQ(last_error().rfind(GetParam().error, 0), 0u) << last_error();
}

INSTANTIATE_TEST_SUITE_P(Paths, HidOpenBadPath,
                         ::testing::Values(TBadPath{"null", nullptr, "Path conversion failure"},
                                           TBadPath{"not_utf8", "\\\\.\\pipe\\qdx\xff\xfe", "Path conversion failure"},
                                           TBadPath{"missing", "\\\\.\\pipe\\no-such-device",
                                                    "CreateFile: (0x00000002)"}),
                         [](const ::testing::TestParamInfo<TBadPath>& info) { return std::string(info.param.name); });

}  // namespace
