#pragma once
// A plug-in loaded by file name from where the tool keeps its plug-ins
// (plugin_location.h).
#include <string>

// "rd_s19.dll" from "rd_%s.dll" and "s19".
std::string qdx_pluginFileName(const char* pattern, const char* key);

class TPluginLibrary {
 public:
  explicit TPluginLibrary(std::string fileName);
  ~TPluginLibrary();
  TPluginLibrary(const TPluginLibrary&) = delete;
  TPluginLibrary& operator=(const TPluginLibrary&) = delete;

  bool Load();
  void Unload();
  bool Loaded() const { return handle != nullptr; }
  void* Handle() const { return handle; }
  const std::string& Name() const { return fileName; }

  template <typename TFunc>
  TFunc Function(const char* name) const {
    return reinterpret_cast<TFunc>(Symbol(name));
  }

 private:
  void* Symbol(const char* name) const;

  std::string fileName;
  void* handle = nullptr;
};
