#include "intface.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct TFileCloser {
  void operator()(FILE* file) const { fclose(file); }
};

// Every data byte takes two characters of a file at least.
size_t expectedBytes(FILE* file) {
  struct stat status;
  if (fstat(fileno(file), &status) != 0 || !S_ISREG(status.st_mode)) return 0;
  return static_cast<size_t>(status.st_size) / 2;
}

}  // namespace

bool TFileFormatReader::ReadFile(const char*) { return false; }

bool TFileFormatReader::ReadLines(const char* path, TLineRules& rules) {
  Clear();
  if (path == nullptr) return false;
  std::unique_ptr<FILE, TFileCloser> file(fopen(path, "r"));
  if (!file) return false;
  Clear(expectedBytes(file.get()));

  char line[LINE_BUFFER_SIZE] = {};
  TLineStep step = TLineStep::NEXT_LINE;
  while (step == TLineStep::NEXT_LINE && fgets(line, sizeof line, file.get()) != nullptr)
    step = rules.HandleLine(line, strlen(line));
  // A read error (a folder, a failing device) is no end of file.
  const bool readError = step == TLineStep::NEXT_LINE && ferror(file.get());
  file.reset();
  if (step == TLineStep::FAILURE || readError || !rules.Verdict()) return false;
  return SortByAddress();
}
