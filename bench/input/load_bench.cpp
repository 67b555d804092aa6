// input_load_bench <format> <file> [--no-walk]: loads a file through the
// input plug-in of <format> ("s19" or "ihex") as a consumer does, by file
// name and function name, walks every byte (unless told not to), and prints
// the count, a sum over addresses and data, and the time of each phase.
#include <cstdint>
#include <cstdio>
#include <string>

#include "bench_plugins.h"

int main(int argc, char** argv) {
  const bool walk = argc == 3;
  if (argc != 3 && !(argc == 4 && std::string(argv[3]) == "--no-walk")) {
    fprintf(stderr, "usage: input_load_bench <s19|ihex> <file> [--no-walk]\n");
    return 2;
  }
  void* module = bench_LoadPlugin(std::string("librd_") + argv[1] + ".so");
  if (module == nullptr) return 2;
  auto first = reinterpret_cast<bool (*)()>(dlsym(module, "GetFirstByte"));
  auto next = reinterpret_cast<bool (*)()>(dlsym(module, "GetNextByte"));
  auto address = reinterpret_cast<uint32_t (*)()>(dlsym(module, "GetCurrentByteAddress"));
  auto data = reinterpret_cast<uint8_t (*)()>(dlsym(module, "GetCurrentByteData"));
  if (!first || !next || !address || !data) {
    fprintf(stderr, "librd_%s.so lacks a stream reader routine\n", argv[1]);
    return 2;
  }
  const auto start = bench_Clock::now();
  if (!bench_LoadFile(module, argv[2])) return 1;
  const auto loaded = bench_Clock::now();
  uint64_t count = 0, sum = 0;
  for (bool more = walk && first(); more; more = next()) {
    sum += address();
    sum += data();
    ++count;
  }
  const auto walked = bench_Clock::now();
  printf("%llu bytes, sum %llu, load %.1f ms, walk %.1f ms\n", static_cast<unsigned long long>(count),
         static_cast<unsigned long long>(sum), bench_Ms(loaded - start), bench_Ms(walked - loaded));
  return 0;
}
