#include "child_process.h"

namespace testkit {

namespace {

bool StartsWithAny(const std::string& text, const std::vector<std::string>& prefixes) {
  for (const std::string& prefix : prefixes)
    if (text.rfind(prefix, 0) == 0) return true;
  return false;
}

}  // namespace

std::vector<std::string> ChildEnvironment(const std::vector<std::string>& dropped,
                                          const std::vector<std::string>& added) {
  std::vector<std::string> entries;
  for (const std::string& entry : CurrentEnvironment())
    if (!StartsWithAny(entry, dropped)) entries.push_back(entry);
  entries.insert(entries.end(), added.begin(), added.end());
  return entries;
}

}  // namespace testkit
