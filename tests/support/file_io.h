#pragma once
// Whole files, byte for byte, as tests prepare and compare them.
#include <cstdint>
#include <string>
#include <vector>

namespace testkit {

// What the file holds, "" when it cannot be read.
std::string ReadFile(const std::string& path);
// The file read as text, as this platform's text mode reads it: on Windows
// CR LF comes out as LF.
std::string ReadText(const std::string& path);
// True when every line of `written` ends as a text file of this platform
// ends it: in CR LF on Windows, in a lone LF elsewhere.
bool HasPlatformLineEnds(const std::string& written);
std::vector<uint8_t> ReadBytes(const std::string& path);
// Replaces the file's content; throws when it cannot be written, so that a
// case does not go on with a setup it did not get.
void WriteFile(const std::string& path, const std::string& content);
bool FileExists(const std::string& path);

}  // namespace testkit
