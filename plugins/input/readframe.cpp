#include "intface.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct TFileCloser {
  void operator()(FILE* file) const { fclose(file); }
};

bool sortByAddr(const MemoryDataTag& a, const MemoryDataTag& b) {
  return a.address < b.address;
}

}  // namespace

bool TFileFormatReader::ReadFile(const char*) {
  return false;
}

bool TFileFormatReader::ReadLines(const char* path, TLineRules& rules) {
  Clear();
  if (path == nullptr)
    return false;
  std::unique_ptr<FILE, TFileCloser> file(fopen(path, "r"));
  if (!file)
    return false;

  char line[LINE_BUFFER_SIZE] = {};
  TLineStep step = TLineStep::NEXT_LINE;
  while (step == TLineStep::NEXT_LINE && fgets(line, sizeof line, file.get()) != nullptr)
    step = rules.HandleLine(line, strlen(line));
  // A read error (a folder, a failing device) is no end of file.
  const bool readError = step == TLineStep::NEXT_LINE && ferror(file.get());
  file.reset();
  if (step == TLineStep::FAILURE || readError || !rules.Verdict())
    return false;

  if (!std::is_sorted(bytes.begin(), bytes.end(), sortByAddr))
    std::sort(bytes.begin(), bytes.end(), sortByAddr);
  bool verdict = true;
  for (size_t i = 1; i < bytes.size(); ++i)
    if (bytes[i - 1].address == bytes[i].address)
      verdict = false;
  return verdict;
}
