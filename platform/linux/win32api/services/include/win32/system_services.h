#pragma once
// Errors, module handles, profile (INI) files, resources, time and console.
#include "base_types.h"

extern "C" {

DWORD GetLastError(void);
void SetLastError(DWORD code);

// The program itself is the only module: any name or NULL gives its handle.
HMODULE GetModuleHandleA(LPCSTR moduleName);

// The integer under `key` in `[section]` of the INI file `fileName`, read
// as Windows reads it, or `defaultValue` when the file, the section or the
// key is missing or the value empty. Names are compared without regard to
// ASCII case; only the first section of a name and the first entry of a key
// count. The value, without quotes around it, is a decimal number or one
// in hex after "0x", with an optional sign, read up to its first other
// character. The file is read once for as long as it stays unchanged.
UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName);

#define RT_VERSION MAKEINTRESOURCEA(16)
#define VS_VERSION_INFO 1
HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL data);
DWORD SizeofResource(HMODULE module, HRSRC resource);

typedef struct _FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
} FILETIME, *LPFILETIME;

typedef struct _SYSTEMTIME {
  WORD wYear;
  WORD wMonth;
  WORD wDayOfWeek;
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
} SYSTEMTIME, *LPSYSTEMTIME;

void GetSystemTime(LPSYSTEMTIME time);
BOOL SystemTimeToFileTime(const SYSTEMTIME* time, LPFILETIME fileTime);
BOOL FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME time);

#define STD_INPUT_HANDLE ((DWORD)-10)
#define STD_OUTPUT_HANDLE ((DWORD)-11)
#define STD_ERROR_HANDLE ((DWORD)-12)

#define FOREGROUND_BLUE 0x0001
#define FOREGROUND_GREEN 0x0002
#define FOREGROUND_RED 0x0004
#define FOREGROUND_INTENSITY 0x0008
#define BACKGROUND_BLUE 0x0010
#define BACKGROUND_GREEN 0x0020
#define BACKGROUND_RED 0x0040
#define BACKGROUND_INTENSITY 0x0080

typedef struct _COORD {
  SHORT X;
  SHORT Y;
} COORD;

typedef struct _SMALL_RECT {
  SHORT Left;
  SHORT Top;
  SHORT Right;
  SHORT Bottom;
} SMALL_RECT;

typedef struct _CONSOLE_SCREEN_BUFFER_INFO {
  COORD dwSize;
  COORD dwCursorPosition;
  WORD wAttributes;
  SMALL_RECT srWindow;
  COORD dwMaximumWindowSize;
} CONSOLE_SCREEN_BUFFER_INFO, *PCONSOLE_SCREEN_BUFFER_INFO;

HANDLE GetStdHandle(DWORD which);
// Both fail, and change nothing, when the handle is not a terminal, as the
// Windows calls do on a redirected output.
BOOL GetConsoleScreenBufferInfo(HANDLE console, PCONSOLE_SCREEN_BUFFER_INFO info);
BOOL SetConsoleTextAttribute(HANDLE console, WORD attributes);

}  // extern "C"
