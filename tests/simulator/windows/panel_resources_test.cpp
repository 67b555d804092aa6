// The resources the Windows build compiles into simpanel.exe, read back from
// the program file itself: the version its banner shows and the icon its
// window class loads.
#include <gtest/gtest.h>

#include <windows.h>
#include <string>

#include "versioninfo.h"
#include "windows_paths.h"

namespace {

class TPanelResources : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    panel = LoadLibraryExA(sim_panelExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  }
  static void TearDownTestSuite() {
    if (panel) FreeLibrary(panel);
  }
  void SetUp() override { ASSERT_NE(panel, nullptr) << sim_panelExe() << ": error " << GetLastError(); }

  static HMODULE panel;
};

HMODULE TPanelResources::panel = nullptr;

}  // namespace

TEST_F(TPanelResources, BannerVersionComesFromTheVersionResource) {
  char version[500];
  EXPECT_STREQ(GetVersionInfo(panel, version, sizeof(version)), "1.0 release:5 build:6");
}

// Windows' own reader must take the resource as well: a block our scan reads
// could still be one that Explorer and installers do not.
TEST_F(TPanelResources, VersionResourceIsOneWindowsReads) {
  const std::string path = sim_panelExe();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::string block(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, &block[0]));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize));
  ASSERT_EQ(fixedSize, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00050006u);

  char* text = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\040904b0\\FileVersion", reinterpret_cast<void**>(&text),
                             &length));
  EXPECT_STREQ(text, "1.0.5.6");
}

TEST_F(TPanelResources, WindowIconComesInBothSizesTheClassAsksFor) {
  for (int size : {32, 16}) {
    HICON icon = static_cast<HICON>(LoadImageA(panel, MAKEINTRESOURCEA(4000), IMAGE_ICON, size, size, 0));
    ASSERT_NE(icon, nullptr) << size;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour{};
    ASSERT_TRUE(GetObjectA(info.hbmColor, sizeof(colour), &colour));
    EXPECT_EQ(colour.bmWidth, size);
    EXPECT_EQ(colour.bmHeight, size);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
}
