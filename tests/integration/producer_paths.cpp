#include "producer_paths.h"

#include <stdexcept>

#include "test_paths.h"

namespace integ {

std::string ReaderPath(const std::string& key) {
  if (key == "s19") return INTEG_RD_S19;
  if (key == "ihex") return INTEG_RD_IHEX;
  throw std::invalid_argument("no input plug-in for '" + key + "'");
}

std::vector<std::string> RoundTripKeys() {
  std::vector<std::string> keys;
  for (const char* key : {"s19", "ihex"})
    for (const std::string& writer : outtest::FileWriterKeys())
      if (writer == key) keys.push_back(key);
  return keys;
}

std::string CompilerPath() { return INTEG_PLCCOMP; }

bool LoadImageFile(const outtest::TModule& reader, const std::string& path) {
  auto loadFile = reader.Function<bool (*)(const char*)>("LoadFile");
  if (loadFile == nullptr) throw std::runtime_error("not an input plug-in");
  return loadFile(path.c_str());
}

}  // namespace integ
