// output_chain_bench <reader> <writer> <input> <output>: converts a file as a
// host chains two plug-ins: librd_<reader>.so loads <input>, libwr_<writer>.so
// is attached to it and saves <output>. Both are found by file name and bound
// by function name. Prints the time of each phase and the write system calls
// of the save.
#include <cstdio>
#include <fstream>
#include <string>

#include "bench_plugins.h"

namespace {

// The write system calls this process has made so far ("syscw" of /proc/self/io).
long WriteCalls() {
  std::ifstream io("/proc/self/io");
  for (std::string key; io >> key;) {
    long value = -1;
    io >> value;
    if (key == "syscw:") return value;
  }
  return -1;
}

// AttachToDLL on the producer, then SaveAs; false after saying why.
bool AttachAndSave(void* writer, void* producer, const char* destination) {
  auto attachToDLL = reinterpret_cast<bool (*)(void*)>(dlsym(writer, "AttachToDLL"));
  auto saveAs = reinterpret_cast<bool (*)(const char*)>(dlsym(writer, "SaveAs"));
  auto lastError = reinterpret_cast<int (*)(char*, unsigned)>(dlsym(writer, "GetLastErrorMsg"));
  if (!attachToDLL || !saveAs || !lastError) {
    fprintf(stderr, "not an output plug-in\n");
    return false;
  }
  if (attachToDLL(producer) && saveAs(destination)) return true;
  char text[512] = "";
  lastError(text, sizeof text);
  fprintf(stderr, "cannot save %s: %s\n", destination, text);
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    fprintf(stderr, "usage: output_chain_bench <s19|ihex> <s19|ihex|s|de> <input> <output>\n");
    return 2;
  }
  void* reader = bench_LoadPlugin(std::string("librd_") + argv[1] + ".so");
  void* writer = bench_LoadPlugin(std::string("libwr_") + argv[2] + ".so");
  if (reader == nullptr || writer == nullptr) return 2;

  const auto start = bench_Clock::now();
  if (!bench_LoadFile(reader, argv[3])) return 1;
  const auto loaded = bench_Clock::now();
  const long writesBefore = WriteCalls();
  if (!AttachAndSave(writer, reader, argv[4])) return 1;
  const auto saved = bench_Clock::now();
  const long writes = WriteCalls() - writesBefore;

  printf("load %.1f ms, save %.1f ms, %ld write calls in the save\n", bench_Ms(loaded - start),
         bench_Ms(saved - loaded), writes);
  dlclose(writer);  // before the producer it points into
  dlclose(reader);
  return 0;
}
