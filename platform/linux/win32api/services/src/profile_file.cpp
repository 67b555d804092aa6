#include "profile_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// The characters trimmed from lines, names and values. The reader keeps the
// other control characters, Ctrl-Z (DOS's end of file) excepted.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a'; }

const char* skipBlanks(const char* begin, const char* end) {
  while (begin < end && isBlank(*begin)) ++begin;
  return begin;
}

const char* dropBlanks(const char* begin, const char* end) {
  while (end > begin && isBlank(end[-1])) --end;
  return end;
}

// Names are compared as C strings (up to a zero byte in them) without regard
// to ASCII case.
std::string nameOf(const char* begin, const char* end) {
  std::string name(begin, std::find(begin, end, '\0'));
  for (char& c : name)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return name;
}

// The reader reads an integer from a buffer of 30 characters, its last for
// the zero byte: the value up to a zero byte in it, cut to 29 characters.
// Quotes around it are dropped; a quoted value of 29 characters keeps only
// 28, one of more keeps 29.
std::string intTextOf(const char* begin, const char* end) {
  const size_t room = 29;
  end = std::find(begin, end, '\0');
  const size_t length = static_cast<size_t>(end - begin);
  const bool quoted = length >= 2 && (*begin == '"' || *begin == '\'') && end[-1] == *begin;
  if (!quoted) return std::string(begin, std::min(length, room));
  const size_t inside = length - 2;
  return std::string(begin + 1, inside < room ? inside : inside == room ? room - 1 : room);
}

void appendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | code >> 6);
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | code >> 12);
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | code >> 18);
    out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// UTF-16 after its byte order mark; an unpaired surrogate becomes U+FFFD.
std::string utf8FromUtf16(const std::string& bytes, bool bigEndian) {
  std::string text;
  text.reserve(bytes.size() / 2);
  const auto unitAt = [&](size_t at) {
    const auto first = static_cast<unsigned char>(bytes[at]), second = static_cast<unsigned char>(bytes[at + 1]);
    return static_cast<uint32_t>(bigEndian ? first << 8 | second : second << 8 | first);
  };
  for (size_t at = 2; at + 1 < bytes.size(); at += 2) {
    uint32_t code = unitAt(at);
    if (code >= 0xD800 && code < 0xDC00 && at + 3 < bytes.size()) {
      const uint32_t low = unitAt(at + 2);
      if (low >= 0xDC00 && low < 0xE000) {
        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        at += 2;
      }
    }
    appendUtf8(text, code >= 0xD800 && code < 0xE000 ? 0xFFFD : code);
  }
  return text;
}

bool startsWith(const std::string& bytes, const char* mark) { return bytes.compare(0, std::strlen(mark), mark) == 0; }

}  // namespace

TW32ProfileFile::TW32ProfileFile(const std::string& bytes) {
  std::string decoded;
  const std::string* text = &bytes;
  size_t start = 0;
  if (startsWith(bytes, "\xEF\xBB\xBF")) {
    start = 3;
  } else if (startsWith(bytes, "\xFF\xFE") || startsWith(bytes, "\xFE\xFF")) {
    decoded = utf8FromUtf16(bytes, bytes[0] == '\xFE');
    text = &decoded;
  }
  // Entries before the first section, and in a section whose name came
  // before, are not read.
  TSection* section = nullptr;
  const char* const all = text->data();
  const char* const allEnd = all + text->size();
  for (const char* line = all + start; line < allEnd;) {
    const char* lineEnd = std::find_if(line, allEnd, [](char c) { return c == '\n' || c == '\r'; });
    const char* begin = skipBlanks(line, lineEnd);
    const char* end = dropBlanks(begin, lineEnd);
    line = lineEnd + 1;
    if (begin == end || *begin == ';') continue;
    if (*begin == '[') {
      // The name runs to the last bracket; what follows it is not read.
      const char* close = end;
      while (close > begin && close[-1] != ']') --close;
      if (close > begin + 1) {
        const char* nameEnd = close - 1;
        const char* nameBegin = skipBlanks(begin + 1, nameEnd);
        const auto added = sections_.emplace(nameOf(nameBegin, dropBlanks(nameBegin, nameEnd)), TSection());
        section = added.second ? &added.first->second : nullptr;
        continue;
      }
    }
    if (!section) continue;
    const char* equals = std::find(begin, end, '=');
    const std::string value = equals == end ? "" : intTextOf(skipBlanks(equals + 1, end), end);
    section->emplace(nameOf(begin, dropBlanks(begin, equals)), value);  // the first entry of a key counts
  }
}

const std::string* TW32ProfileFile::intText(const char* section, const char* key) const {
  const auto foundSection = sections_.find(nameOf(section, section + std::strlen(section)));
  if (foundSection == sections_.end()) return nullptr;
  const auto found = foundSection->second.find(nameOf(key, key + std::strlen(key)));
  return found == foundSection->second.end() ? nullptr : &found->second;
}
