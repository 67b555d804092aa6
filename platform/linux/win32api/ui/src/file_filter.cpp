#include <win32/file_filter.h>
#include <cstring>

std::string w32_fltkFileFilter(LPCSTR windowsFilter) {
  std::string filter;
  if (!windowsFilter) return filter;
  for (const char* entry = windowsFilter; *entry;) {
    const std::string name = entry;
    const char* patternStart = entry + name.size() + 1;
    const std::string pattern = patternStart;
    entry = *patternStart ? patternStart + pattern.size() + 1 : patternStart;
    const std::string shown = "(" + pattern + ")";
    if (!filter.empty()) filter += '\t';
    const bool endsWithPattern =
        name.size() >= shown.size() && name.compare(name.size() - shown.size(), shown.size(), shown) == 0;
    filter += endsWithPattern ? name : name + " " + shown;
  }
  return filter;
}
