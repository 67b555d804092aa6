// The fuzz targets outside libFuzzer: runs every file named, or found in the
// folders named, through the target once; without arguments the target's
// seed corpus and regression cases, as the regular and sanitizer builds
// replay them.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

int replay(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) {
    std::fprintf(stderr, "cannot read %s\n", file.c_str());
    return 1;
  }
  std::fprintf(stderr, "%s\n", file.c_str());
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  LLVMFuzzerInitialize(&argc, &argv);
  std::vector<std::filesystem::path> named(argv + 1, argv + argc);
  if (named.empty()) named = {FUZZ_CORPUS_DIR, FUZZ_REGRESSION_DIR};
  int failures = 0;
  size_t count = 0;
  for (const std::filesystem::path& path : named) {
    if (std::filesystem::is_directory(path)) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(path))
        if (entry.is_regular_file()) {
          failures += replay(entry.path());
          ++count;
        }
    } else if (std::filesystem::exists(path)) {
      failures += replay(path);
      ++count;
    } else {
      std::fprintf(stderr, "no such file or folder: %s\n", path.c_str());
      ++failures;
    }
  }
  std::fprintf(stderr, "%zu inputs replayed\n", count);
  return failures == 0 ? 0 : 1;
}
