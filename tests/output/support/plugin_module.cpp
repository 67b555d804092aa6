#include "plugin_module.h"

#include <filesystem>
#include <stdexcept>
#include <vector>

#include "dynlib.h"
#include "test_producer_api.h"

namespace outtest {

TModule::TModule(const std::string& path) {
  handle_ = plat_LoadLibrary(path.c_str());
  if (handle_ == nullptr) throw std::runtime_error("cannot load " + path + ": " + plat_LoadError());
}

std::unique_ptr<TModule> TModule::LoadCopy(const std::string& path, const std::string& folder) {
  // Another path and file is another module to the loader.
  const std::filesystem::path copy = std::filesystem::path(folder) / std::filesystem::path(path).filename();
  std::filesystem::copy_file(path, copy, std::filesystem::copy_options::overwrite_existing);
  return std::make_unique<TModule>(copy.string());
}

TModule::~TModule() { plat_FreeLibrary(handle_); }

void* TModule::Symbol(const char* name) const { return plat_FindSymbol(handle_, name); }

TOutputPlugin::TOutputPlugin(const TModule& module)
    : setFirstByte(module.Function<decltype(setFirstByte)>("Set_GetFirstByte_Func")),
      setNextByte(module.Function<decltype(setNextByte)>("Set_GetNextByte_Func")),
      setData(module.Function<decltype(setData)>("Set_GetCurrentByteData_Func")),
      setAddress(module.Function<decltype(setAddress)>("Set_GetCurrentByteAddress_Func")),
      attachToDLL(module.Function<decltype(attachToDLL)>("AttachToDLL")),
      saveAs(module.Function<decltype(saveAs)>("SaveAs")),
      getLastErrorMsg(module.Function<decltype(getLastErrorMsg)>("GetLastErrorMsg")) {
  if (!setFirstByte || !setNextByte || !setData || !setAddress || !attachToDLL || !saveAs || !getLastErrorMsg)
    throw std::runtime_error("the module lacks an output plug-in export");
}

std::string TOutputPlugin::LastError() const {
  const int length = getLastErrorMsg(nullptr, 0);
  std::vector<char> text(static_cast<size_t>(length) + 1);
  getLastErrorMsg(text.data(), static_cast<unsigned>(text.size()));
  return text.data();
}

bool TOutputPlugin::Bind(GetFirstByte_Func first, GetNextByte_Func next, GetCurrentByteData_Func data,
                         GetCurrentByteAddress_Func address) const {
  const bool a = setFirstByte(first), b = setNextByte(next), c = setData(data), d = setAddress(address);
  return a && b && c && d;
}

bool TOutputPlugin::AttachAndSave(void* producer, const std::string& destination) const {
  return attachToDLL(producer) && saveAs(destination.c_str());
}

TImage ReadImage(const TModule& producer) {
  auto first = producer.Function<GetFirstByte_Func>("GetFirstByte");
  auto next = producer.Function<GetNextByte_Func>("GetNextByte");
  auto data = producer.Function<GetCurrentByteData_Func>("GetCurrentByteData");
  auto address = producer.Function<GetCurrentByteAddress_Func>("GetCurrentByteAddress");
  if (!first || !next || !data || !address) throw std::runtime_error("not a producer");
  TImage image;
  for (bool more = first(); more; more = next()) {
    const uint32_t at = address();
    image.push_back({at, data()});
  }
  return image;
}

void SetProducerImage(const TModule& producer, const TImage& image) {
  auto set = producer.Function<decltype(&TestProducer_SetImage)>("TestProducer_SetImage");
  if (set == nullptr) throw std::runtime_error("not the test producer");
  std::vector<uint32_t> addresses;
  std::vector<uint8_t> data;
  for (const TImageByte& byte : image) {
    addresses.push_back(byte.address);
    data.push_back(byte.data);
  }
  set(addresses.data(), data.data(), image.size());
}

}  // namespace outtest
