#pragma once
// Loading shared libraries for the tests: output plug-ins and producers.
#include <memory>
#include <string>

#include "output_plugin.h"
#include "test_image.h"

namespace outtest {

// A loaded module (dlopen, LoadLibraryA). LoadCopy loads a private copy, so that its module
// state (slots, error text, image) starts as at a fresh load in every test.
class TModule {
 public:
  explicit TModule(const std::string& path);
  static std::unique_ptr<TModule> LoadCopy(const std::string& path, const std::string& folder);
  ~TModule();
  TModule(const TModule&) = delete;
  TModule& operator=(const TModule&) = delete;

  void* Handle() const { return handle_; }
  void* Symbol(const char* name) const;
  template <typename Func>
  Func Function(const char* name) const {
    return reinterpret_cast<Func>(Symbol(name));
  }

 private:
  void* handle_ = nullptr;
};

// The seven exports of a loaded output plug-in.
class TOutputPlugin {
 public:
  explicit TOutputPlugin(const TModule& module);

  decltype(&Set_GetFirstByte_Func) setFirstByte;
  decltype(&Set_GetNextByte_Func) setNextByte;
  decltype(&Set_GetCurrentByteData_Func) setData;
  decltype(&Set_GetCurrentByteAddress_Func) setAddress;
  decltype(&AttachToDLL) attachToDLL;
  decltype(&SaveAs) saveAs;
  decltype(&GetLastErrorMsg) getLastErrorMsg;

  // The whole error text, however long.
  std::string LastError() const;
  // Binds the four routines through the Set_ exports; true when all took.
  bool Bind(GetFirstByte_Func first, GetNextByte_Func next, GetCurrentByteData_Func data,
            GetCurrentByteAddress_Func address) const;
  // The host's road: AttachToDLL on the producer module, then SaveAs.
  bool AttachAndSave(void* producer, const std::string& destination) const;
};

// The image a producer module (the test producer, an input plug-in, the
// compiler library) serves, walked through its four routines.
TImage ReadImage(const TModule& producer);

// Hands `image` to a loaded test producer module.
void SetProducerImage(const TModule& producer, const TImage& image);

}  // namespace outtest
