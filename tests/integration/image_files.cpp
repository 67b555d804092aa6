// Writes the sample images and compiles through this platform's file
// writers, for the comparison of the Windows and the Linux build
// (compare_platforms.sh):
//
//   image_files <folder>
//
// For each image, <name>.<writer key> from each file writer attached to the
// module that serves it (the test producer, or the compiler library for a
// compiled program), and <name>.bytes, the image itself, one line
// "AAAAAAAA DD" a byte.
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "compiled_image.h"
#include "plugin_module.h"
#include "producer_paths.h"
#include "sample_images.h"
#include "test_paths.h"

namespace {

using outtest::TImage;
using outtest::TModule;
using outtest::TOutputPlugin;

std::string FileName(const std::string& name) {
  std::string file;
  for (char c : name) file += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return file;
}

void WriteBytes(const std::string& path, const TImage& image) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) throw std::runtime_error("cannot write " + path);
  for (const outtest::TImageByte& byte : image)
    std::fprintf(file, "%08X %02X\n", static_cast<unsigned>(byte.address), static_cast<unsigned>(byte.data));
  if (std::fclose(file) != 0) throw std::runtime_error("cannot write " + path);
}

class TFileWriters {
 public:
  TFileWriters() {
    for (const std::string& key : outtest::FileWriterKeys())
      writers.push_back({key, std::make_unique<TModule>(outtest::WriterPath(key))});
  }

  // Every writer saves what `producer` serves.
  void Save(const TModule& producer, const std::string& base) const {
    for (const auto& [key, module] : writers) {
      const TOutputPlugin plugin(*module);
      const std::string path = base + "." + key;
      if (!plugin.AttachAndSave(producer.Handle(), path))
        throw std::runtime_error(key + " writer failed on " + path + ": " + plugin.LastError());
    }
  }

 private:
  std::vector<std::pair<std::string, std::unique_ptr<TModule>>> writers;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  try {
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    const TFileWriters writers;

    const TModule producer(outtest::ProducerPath());
    for (const integ::TNamedImage& named : integ::SampleImages()) {
      const std::string base = (folder / FileName(named.name)).string();
      outtest::SetProducerImage(producer, named.image);
      writers.Save(producer, base);
      WriteBytes(base + ".bytes", named.image);
    }

    const TModule compiler(integ::CompilerPath());
    for (const integ::TCompiledCase& compiled : integ::SampleCompiles()) {
      const std::string base = (folder / ("compiled_" + FileName(compiled.name))).string();
      integ::CompileSample(compiler.Handle(), compiled.flashStart, compiled.steps);
      writers.Save(compiler, base);
      WriteBytes(base + ".bytes", outtest::ReadImage(compiler));
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
