#include <time.h>

#include <linux_64bit_types.h>
#include <win32/clock_source.h>
#include <windows.h>

namespace {

const int64_t ticksPerSecond = 10000000;  // a FILETIME counts 100 ns units
const int64_t ticksPerDay = 86400 * ticksPerSecond;
const int64_t daysFrom1601To1970 = 134774;
const int64_t secondsFrom1601To1970 = daysFrom1601To1970 * 86400;

TW32ClockSource clockSource = nullptr;

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

// Days since 1 January 1970 of a date of the proleptic Gregorian calendar.
int64_t daysFromCivil(int64_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<int64_t>(dayOfEra) - 719468;
}

void civilFromDays(int64_t days, int64_t& year, unsigned& month, unsigned& day) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
  const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
  day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
  month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
  year = static_cast<int64_t>(yearOfEra) + era * 400 + (month <= 2);
}

}  // namespace

void w32_setClockSource(TW32ClockSource source) { clockSource = source; }

void GetSystemTime(LPSYSTEMTIME time) {
  if (!time) return;
  if (clockSource) {
    clockSource(time);
    return;
  }
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  const int64_t ticks = (static_cast<int64_t>(now.tv_sec) + secondsFrom1601To1970) * ticksPerSecond + now.tv_nsec / 100;
  const FILETIME fileTime{static_cast<DWORD>(ticks), static_cast<DWORD>(static_cast<uint64_t>(ticks) >> 32)};
  FileTimeToSystemTime(&fileTime, time);
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* time, LPFILETIME fileTime) {
  if (!time || !fileTime || time->wYear < 1601 || time->wYear > 30827 || time->wMonth < 1 || time->wMonth > 12 ||
      time->wDay < 1 || time->wDay > daysInMonth(time->wYear, time->wMonth) || time->wHour > 23 || time->wMinute > 59 ||
      time->wSecond > 59 || time->wMilliseconds > 999) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const int64_t days = daysFromCivil(time->wYear, time->wMonth, time->wDay) + daysFrom1601To1970;
  const int64_t seconds = days * 86400 + time->wHour * 3600 + time->wMinute * 60 + time->wSecond;
  const uint64_t ticks = static_cast<uint64_t>(seconds * ticksPerSecond + time->wMilliseconds * 10000);
  fileTime->dwLowDateTime = static_cast<DWORD>(ticks);
  fileTime->dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME time) {
  if (!fileTime || !time || (fileTime->dwHighDateTime & 0x80000000u)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const int64_t ticks = static_cast<int64_t>((uint64_t(fileTime->dwHighDateTime) << 32) | fileTime->dwLowDateTime);
  const int64_t days = ticks / ticksPerDay;
  const int64_t inDay = ticks % ticksPerDay;
  int64_t year;
  unsigned month, day;
  civilFromDays(days - daysFrom1601To1970, year, month, day);
  time->wYear = static_cast<WORD>(year);
  time->wMonth = static_cast<WORD>(month);
  time->wDay = static_cast<WORD>(day);
  time->wDayOfWeek = static_cast<WORD>((days + 1) % 7);  // 1 January 1601 was a Monday
  time->wHour = static_cast<WORD>(inDay / (3600 * ticksPerSecond));
  time->wMinute = static_cast<WORD>(inDay / (60 * ticksPerSecond) % 60);
  time->wSecond = static_cast<WORD>(inDay / ticksPerSecond % 60);
  time->wMilliseconds = static_cast<WORD>(inDay / 10000 % 1000);
  return TRUE;
}
