#pragma once
// A profile (INI) file as Windows' profile reader reads it, held for the
// integers read from it.
#include <string>
#include <unordered_map>

class TW32ProfileFile {
 public:
  // `bytes` is the whole file: ANSI, UTF-8 after its byte order mark, or
  // UTF-16 after its byte order mark (taken as UTF-8).
  explicit TW32ProfileFile(const std::string& bytes);

  // The text that an integer under `key` in `[section]` is read from, as
  // the reader cuts it; NULL when there is no such entry. "" when the entry
  // has no value or an empty one.
  const std::string* intText(const char* section, const char* key) const;

 private:
  using TSection = std::unordered_map<std::string, std::string>;
  std::unordered_map<std::string, TSection> sections_;
};
