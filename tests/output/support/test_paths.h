#pragma once
// Where the build put the modules under test.
#include <string>

namespace outtest {

// key: "s19", "ihex", "s" or "de".
std::string WriterPath(const std::string& key);
// variant: "" for the full producer, else the routine it lacks ("GetFirstByte", ...),
// or "GetFirstByte+GetCurrentByteData" for the one lacking two.
std::string ProducerPath(const std::string& variant = "");

}  // namespace outtest
