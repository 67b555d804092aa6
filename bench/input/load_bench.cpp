// input_load_bench <format> <file> [--no-walk]: loads a file through the
// input plug-in of <format> ("s19" or "ihex") as a consumer does, by file
// name and function name, walks every byte (unless told not to), and prints
// the count, a sum over addresses and data, and the time of each phase.
#include <dlfcn.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
  const bool walk = argc == 3;
  if (argc != 3 && !(argc == 4 && std::string(argv[3]) == "--no-walk")) {
    fprintf(stderr, "usage: input_load_bench <s19|ihex> <file> [--no-walk]\n");
    return 2;
  }
  const std::string plugin =
      std::filesystem::read_symlink("/proc/self/exe").parent_path().string() + "/../lib/librd_" + argv[1] + ".so";
  void* module = dlopen(plugin.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    fprintf(stderr, "%s\n", dlerror());
    return 2;
  }
  auto loadFile = reinterpret_cast<bool (*)(const char*)>(dlsym(module, "LoadFile"));
  auto first = reinterpret_cast<bool (*)()>(dlsym(module, "GetFirstByte"));
  auto next = reinterpret_cast<bool (*)()>(dlsym(module, "GetNextByte"));
  auto address = reinterpret_cast<uint32_t (*)()>(dlsym(module, "GetCurrentByteAddress"));
  auto data = reinterpret_cast<uint8_t (*)()>(dlsym(module, "GetCurrentByteData"));
  if (!loadFile || !first || !next || !address || !data) {
    fprintf(stderr, "%s lacks a stream reader routine\n", plugin.c_str());
    return 2;
  }
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  if (!loadFile(argv[2])) {
    fprintf(stderr, "cannot load %s\n", argv[2]);
    return 1;
  }
  const auto loaded = Clock::now();
  uint64_t count = 0, sum = 0;
  for (bool more = walk && first(); more; more = next()) {
    sum += address();
    sum += data();
    ++count;
  }
  const auto walked = Clock::now();
  const auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
  printf("%llu bytes, sum %llu, load %.1f ms, walk %.1f ms\n", static_cast<unsigned long long>(count),
         static_cast<unsigned long long>(sum), ms(loaded - start), ms(walked - loaded));
  return 0;
}
