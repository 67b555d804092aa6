#include "input_plugin.h"

#include <filesystem>
#include <iomanip>
#include <stdexcept>

#include "dynlib.h"

void PrintTo(const TImageByte& byte, std::ostream* out) {
  *out << std::hex << std::uppercase << "{0x" << byte.address << ", 0x" << std::setw(2) << std::setfill('0')
       << unsigned(byte.data) << "}";
}

std::string tests_PluginPath(const std::string& format) {
  if (format == "s19") return TESTS_RD_S19;
  if (format == "ihex") return TESTS_RD_IHEX;
  throw std::invalid_argument("no input plug-in for " + format);
}

namespace {

template <typename Function>
void bind(void* module, const char* name, Function& function) {
  function = reinterpret_cast<Function>(plat_FindSymbol(module, name));
  if (function == nullptr) throw std::runtime_error(std::string("plug-in lacks ") + name);
}

}  // namespace

TInputPlugin::TInputPlugin(const std::string& format) {
  const std::string plugin = tests_PluginPath(format);
  const std::string copy = dir.File(std::filesystem::path(plugin).filename().string());
  std::filesystem::copy_file(plugin, copy);
  module = plat_LoadLibrary(copy.c_str());
  if (module == nullptr) throw std::runtime_error(plat_LoadError());
  bind(module, "LoadFile", LoadFile);
  bind(module, "GetFirstByte", GetFirstByte);
  bind(module, "GetNextByte", GetNextByte);
  bind(module, "GetCurrentByteAddress", GetCurrentByteAddress);
  bind(module, "GetCurrentByteData", GetCurrentByteData);
}

TInputPlugin::~TInputPlugin() { plat_FreeLibrary(module); }

std::vector<TImageByte> TInputPlugin::Walk() const {
  std::vector<TImageByte> image;
  for (bool more = GetFirstByte(); more; more = GetNextByte())
    image.push_back({GetCurrentByteAddress(), GetCurrentByteData()});
  return image;
}

bool TInputPlugin::LoadText(const std::string& content) {
  const std::string path = dir.Write("image" + std::to_string(++files), content);
  return LoadFile(path.c_str());
}
