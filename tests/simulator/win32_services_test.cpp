#include <gtest/gtest.h>
#include <pty.h>
#include <sys/stat.h>
#include <unistd.h>

#include <win32/file_filter.h>
#include <windows.h>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "file_io.h"
#include "stdout_capture.h"
#include "temp_dir.h"
#include "test_support.h"
#include "x_session.h"

// The default stands for what is missing or empty; the awkward files of
// the circuit tables (awkward_tables.cpp) show the rest of the format.
TEST(TProfileReader, ReadsIntegersOfOneSectionAndKeyOrTheDefault) {
  testkit::TTempDir dir;
  const std::string file = dir.File("t.ini");
  testkit::WriteFile(file,
                     "[Other]\nkey=5\n"
                     "[Tables]\nplain=12\nminus=-5\nplus=+7\nblanks=   42\ntail=12abc\nword=abc\nempty=\n"
                     "big=70000\nhuge=99999999999\nMixedCase=3\ntwice=1\ntwice=2\nbare\nbare=4\nquoted=\"\"\n"
                     "[tables]\nlater=8\n");
  struct TCase {
    const char* section;
    const char* key;
    const char* file;
    UINT expected;
  };
  const std::string missing = dir.File("missing.ini");
  const TCase cases[] = {
      {"Tables", "plain", file.c_str(), 12},
      {"Tables", "minus", file.c_str(), static_cast<UINT>(-5)},
      {"Tables", "plus", file.c_str(), 7},
      {"Tables", "blanks", file.c_str(), 42},
      {"Tables", "tail", file.c_str(), 12},
      {"Tables", "word", file.c_str(), 0},
      {"Tables", "empty", file.c_str(), 77},
      {"Tables", "big", file.c_str(), 70000},
      {"Tables", "bare", file.c_str(), 77},  // a key without a value hides a later one
      {"Tables", "quoted", file.c_str(), 77},
      {"Tables", "huge", file.c_str(), 1215752191u},  // 99999999999 modulo 2^32: its low 16 bits stay right
      {"TABLES", "mixedcase", file.c_str(), 3},
      {"Tables", "twice", file.c_str(), 1},
      {"Tables", "later", file.c_str(),
       77},  // the same section again is not read          {"Tables", "key", file.c_str(), 77},
      {"Nowhere", "plain", file.c_str(), 77},
      {"Tables", "plain", missing.c_str(), 77},
      {"Tables", "plain", dir.Path().c_str(), 77},
      {nullptr, "plain", file.c_str(), 77},
      {"Tables", nullptr, file.c_str(), 77},
      {"Tables", "plain", nullptr, 77},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(GetPrivateProfileIntA(c.section, c.key, 77, c.file), c.expected)
        << (c.section ? c.section : "(null)") << "/" << (c.key ? c.key : "(null)");
}

TEST(TSystemTime, ConvertsBothWays) {
  struct TCase {
    SYSTEMTIME time;
    uint64_t ticks;
  };
  const TCase cases[] = {
      {{1601, 1, 1, 1, 0, 0, 0, 0}, 0},  // a Monday
      {{1970, 1, 4, 1, 0, 0, 0, 0}, 116444736000000000ull},
      {{2000, 2, 2, 29, 12, 0, 0, 500}, 125962992005000000ull},
      {{2026, 3, 0, 1, 14, 30, 15, 250}, 134168490152500000ull},
      {{30827, 12, 5, 31, 23, 59, 59, 999}, 0x7FFF35F4F06C58F0ull},
  };
  for (const TCase& c : cases) {
    FILETIME fileTime{};
    ASSERT_TRUE(SystemTimeToFileTime(&c.time, &fileTime)) << c.time.wYear;
    EXPECT_EQ((uint64_t(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime, c.ticks) << c.time.wYear;
    SYSTEMTIME back{};
    ASSERT_TRUE(FileTimeToSystemTime(&fileTime, &back));
    EXPECT_EQ(std::memcmp(&back, &c.time, sizeof(back)), 0) << c.time.wYear;
  }
}

TEST(TSystemTime, RefusesWhatIsNoTime) {
  const SYSTEMTIME wrong[] = {
      {1600, 12, 0, 31, 0, 0, 0, 0}, {2026, 13, 0, 1, 0, 0, 0, 0},   {2100, 2, 0, 29, 0, 0, 0, 0},
      {2026, 4, 0, 31, 0, 0, 0, 0},  {2026, 1, 0, 1, 24, 0, 0, 0},   {2026, 1, 0, 1, 0, 0, 60, 0},
      {2026, 1, 0, 0, 0, 0, 0, 0},   {2026, 1, 0, 1, 0, 0, 0, 1000},
  };
  for (const SYSTEMTIME& time : wrong) {
    FILETIME fileTime{};
    EXPECT_FALSE(SystemTimeToFileTime(&time, &fileTime)) << time.wYear << "-" << time.wMonth << "-" << time.wDay;
  }
  const FILETIME beyond{0, 0x80000000u};
  SYSTEMTIME time{};
  EXPECT_FALSE(FileTimeToSystemTime(&beyond, &time));
}

TEST(TSystemTime, RealClockIsUtc) {
  SYSTEMTIME now{};
  const time_t before = time(nullptr);
  GetSystemTime(&now);
  tm utc{};
  gmtime_r(&before, &utc);
  EXPECT_EQ(now.wYear, utc.tm_year + 1900);
  EXPECT_EQ(now.wDayOfWeek, utc.tm_wday);
  const int seconds = now.wHour * 3600 + now.wMinute * 60 + now.wSecond;
  const int expected = utc.tm_hour * 3600 + utc.tm_min * 60 + utc.tm_sec;
  EXPECT_LE((seconds - expected + 86400) % 86400, 2);
}

// Standard output on a pseudo terminal for as long as it lives.
class TTerminalStdout {
 public:
  TTerminalStdout() {
    fflush(stdout);
    if (openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) return;
    saved_ = dup(STDOUT_FILENO);
    dup2(slave_, STDOUT_FILENO);
  }
  ~TTerminalStdout() {
    fflush(stdout);
    if (saved_ >= 0) {
      dup2(saved_, STDOUT_FILENO);
      close(saved_);
    }
    if (slave_ >= 0) close(slave_);
    if (master_ >= 0) close(master_);
  }
  bool ready() const { return saved_ >= 0; }
  std::string received() {
    fflush(stdout);
    char buffer[256];
    const ssize_t n = read(master_, buffer, sizeof(buffer));
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : "";
  }

 private:
  int master_ = -1, slave_ = -1, saved_ = -1;
};

TEST(TConsole, ColoursOnlyATerminal) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  CONSOLE_SCREEN_BUFFER_INFO info{};
  {
    testkit::TStdoutCapture redirected;
    EXPECT_FALSE(GetConsoleScreenBufferInfo(out, &info));
    EXPECT_FALSE(SetConsoleTextAttribute(out, 14));
    EXPECT_EQ(redirected.Text(), "") << "a redirected output gets no escape sequences";
  }
  TTerminalStdout terminal;
  ASSERT_TRUE(terminal.ready());
  ASSERT_TRUE(GetConsoleScreenBufferInfo(out, &info));
  EXPECT_EQ(info.wAttributes, 7) << "grey on black";
  ASSERT_TRUE(SetConsoleTextAttribute(out, 14));
  EXPECT_EQ(terminal.received(), "\033[0;93;40m") << "yellow on black";
  ASSERT_TRUE(GetConsoleScreenBufferInfo(out, &info));
  EXPECT_EQ(info.wAttributes, 14);
  ASSERT_TRUE(SetConsoleTextAttribute(out, FOREGROUND_BLUE | BACKGROUND_RED));
  EXPECT_EQ(terminal.received(), "\033[0;34;41m");
  ASSERT_TRUE(SetConsoleTextAttribute(out, info.wAttributes = 7));
  EXPECT_EQ(terminal.received(), "\033[0m");
  EXPECT_EQ(GetStdHandle(12345), INVALID_HANDLE_VALUE);
}

TEST(TFileDialog, FiltersShowTheirPatterns) {
  EXPECT_EQ(w32_fltkFileFilter("All\0*.*\0TableFiles (*.ini)\0*.ini\0\0"), "All (*.*)\tTableFiles (*.ini)");
  EXPECT_EQ(w32_fltkFileFilter("Text\0*.txt;*.md\0\0"), "Text (*.txt;*.md)");
  EXPECT_EQ(w32_fltkFileFilter("Odd\0"), "Odd ()");
  EXPECT_EQ(w32_fltkFileFilter(nullptr), "");
}

TEST(TFileDialog, WithoutADisplayItFailsAsCancelled) {
  unsetenv("DISPLAY");
  char file[500] = "";
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.lpstrFile = file;
  dialog.nMaxFile = sizeof(file);
  EXPECT_FALSE(GetOpenFileNameA(&dialog));
  dialog.lStructSize = 88;
  EXPECT_FALSE(GetOpenFileNameA(&dialog)) << "a record of another size is refused";
  EXPECT_FALSE(GetOpenFileNameA(nullptr));
}

namespace {
LRESULT CALLBACK quietProc(HWND, UINT, WPARAM, LPARAM) { return 0; }
}  // namespace

TEST(TWindows, WithoutADisplayNoWindowAndNoSocket) {
  testkit::TTempDir runtime;
  setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
  unsetenv("DISPLAY");
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = quietProc;
  windowClass.lpszClassName = "Tolvane layer test";
  EXPECT_NE(RegisterClassExA(&windowClass), 0);
  EXPECT_EQ(RegisterClassExA(&windowClass), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
  WNDCLASSEXA wrongSize = windowClass;
  wrongSize.cbSize = 48;
  EXPECT_EQ(RegisterClassExA(&wrongSize), 0);

  EXPECT_EQ(CreateWindowExA(0, "Tolvane layer test", "t", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                            nullptr),
            nullptr);
  struct stat status {};
  EXPECT_NE(lstat(runtime.File("Tolvane layer test").c_str(), &status), 0) << "no socket is left behind";
  EXPECT_EQ(CreateWindowExA(0, "Unknown class", "t", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(CreateWindowExA(0, "Button", "b", WS_CHILD, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr)
      << "a button needs a parent";
  EXPECT_EQ(FindWindowA("Tolvane layer test", nullptr), nullptr);
  EXPECT_EQ(SendMessageA(reinterpret_cast<HWND>(&status), WM_CLOSE, 0, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_FALSE(DestroyWindow(nullptr));
}

// A program may end with its windows still there: their records go in any
// order, and a button's widget goes with its frame only once.
TEST(TWindowsOnADisplay, ProcessEndsCleanlyWithItsWindowsStillThere) {
  TXSession session;
  ASSERT_TRUE(session.hasDisplay()) << "Xvfb did not start";
  testkit::TTempDir runtime;
  setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
  setenv("DISPLAY", session.display().c_str(), 1);
  EXPECT_EXIT(
      {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = quietProc;
        windowClass.lpszClassName = "Tolvane records test";
        RegisterClassExA(&windowClass);
        HWND window = CreateWindowExA(0, "Tolvane records test", "t", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100,
                                      nullptr, nullptr, nullptr, nullptr);
        for (int id = 1; id <= 3 && window; ++id)
          CreateWindowExA(0, "Button", "b", WS_CHILD | WS_VISIBLE, 0, 30 * id, 80, 25, window,
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
        exit(window ? 0 : 2);
      },
      ::testing::ExitedWithCode(0), "");
}
