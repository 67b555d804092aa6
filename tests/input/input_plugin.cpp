#include "input_plugin.h"

#include <dlfcn.h>

#include <filesystem>
#include <iomanip>
#include <stdexcept>

#include "program_dir.h"

void PrintTo(const TImageByte& byte, std::ostream* out) {
  *out << std::hex << std::uppercase << "{0x" << byte.address << ", 0x" << std::setw(2) << std::setfill('0')
       << unsigned(byte.data) << "}";
}

std::string tests_PluginPath(const std::string& format) {
  return testkit::ProgramDir() + "/../lib/librd_" + format + ".so";
}

namespace {

template <typename Function>
void bind(void* module, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(module, name));
  if (function == nullptr) throw std::runtime_error(std::string("plug-in lacks ") + name);
}

}  // namespace

TInputPlugin::TInputPlugin(const std::string& format) {
  const std::string copy = dir.Path() + "/librd_" + format + ".so";
  std::filesystem::copy_file(tests_PluginPath(format), copy);
  module = dlopen(copy.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) throw std::runtime_error(dlerror());
  bind(module, "LoadFile", LoadFile);
  bind(module, "GetFirstByte", GetFirstByte);
  bind(module, "GetNextByte", GetNextByte);
  bind(module, "GetCurrentByteAddress", GetCurrentByteAddress);
  bind(module, "GetCurrentByteData", GetCurrentByteData);
}

TInputPlugin::~TInputPlugin() {
  if (module != nullptr) dlclose(module);
}

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
