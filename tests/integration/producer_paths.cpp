#include "producer_paths.h"

#include <stdexcept>

namespace integ {

std::string ReaderPath(const std::string& key) {
  if (key == "s19") return INTEG_RD_S19;
  if (key == "ihex") return INTEG_RD_IHEX;
  throw std::invalid_argument("no input plug-in for '" + key + "'");
}

std::string CompilerPath() { return INTEG_PLCCOMP; }

bool LoadImageFile(const outtest::TModule& reader, const std::string& path) {
  auto loadFile = reader.Function<bool (*)(const char*)>("LoadFile");
  if (loadFile == nullptr) throw std::runtime_error("not an input plug-in");
  return loadFile(path.c_str());
}

}  // namespace integ
