#pragma once
// Where the build put the modules under test.
#include <string>
#include <vector>

namespace outtest {

// key: one of FileWriterKeys().
std::string WriterPath(const std::string& key);
// The keys of the file writers this platform has: "s19", "s", "de", and
// "ihex" but on Windows.
std::vector<std::string> FileWriterKeys();
// variant: "" for the full producer, else the routine it lacks ("GetFirstByte", ...),
// or "GetFirstByte+GetCurrentByteData" for the one lacking two.
std::string ProducerPath(const std::string& variant = "");

}  // namespace outtest
