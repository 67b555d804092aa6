#include "compiled_image.h"

#include <stdexcept>
#include <string>

#include "dynlib.h"
#include "plccomp.h"

namespace integ {

namespace {

const size_t SETTINGS_SIZE = 208;

template <typename Function>
Function Bound(void* module, const char* name) {
  auto function = reinterpret_cast<Function>(plat_FindSymbol(module, name));
  if (function == nullptr) throw std::runtime_error(std::string("the compiler library lacks ") + name);
  return function;
}

// The compiler library's exports a host calls for one compile.
struct TCompilerHost {
  explicit TCompilerHost(void* module)
      : resetCompiler(Bound<decltype(&ResetCompiler)>(module, "ResetCompiler")),
        setCompilerSetting(Bound<decltype(&SetCompilerSetting)>(module, "SetCompilerSetting")),
        addFreeRAMRange(Bound<decltype(&AddFreeRAMRange)>(module, "AddFreeRAMRange")),
        addFreeFLASHRange(Bound<decltype(&AddFreeFLASHRange)>(module, "AddFreeFLASHRange")),
        addHighLevelInstruction(Bound<decltype(&AddHighLevelInstruction)>(module, "AddHighLevelInstruction")),
        startCompile(Bound<decltype(&StartCompile)>(module, "StartCompile")),
        getLastErrorMsg(Bound<decltype(&GetLastErrorMsg)>(module, "GetLastErrorMsg")) {}

  std::string LastError() const {
    std::string text(getLastErrorMsg(nullptr, 0) + 1, '\0');
    getLastErrorMsg(text.data(), static_cast<uint32_t>(text.size()));
    return text.c_str();
  }

  void Add(const char* inst, const std::string& arg1 = "", const std::string& arg2 = "", short literal = 0) const {
    if (!addHighLevelInstruction(inst, arg1.c_str(), arg2.c_str(), "", literal))
      throw std::runtime_error(std::string(inst) + " refused: " + LastError());
  }

  decltype(&ResetCompiler) resetCompiler;
  decltype(&SetCompilerSetting) setCompilerSetting;
  decltype(&AddFreeRAMRange) addFreeRAMRange;
  decltype(&AddFreeFLASHRange) addFreeFLASHRange;
  decltype(&AddHighLevelInstruction) addHighLevelInstruction;
  decltype(&StartCompile) startCompile;
  decltype(&GetLastErrorMsg) getLastErrorMsg;
};

}  // namespace

const std::vector<TCompiledCase>& SampleCompiles() {
  static const std::vector<TCompiledCase> compiles = {
      {"FLASH from 0", 0, 12},
      {"across a 64 KiB boundary mid-record", 0xFFF8, 40},
      {"FLASH above 64 KiB, odd start", 0x12345, 25},
      {"large program", 0x20000, 2000},
  };
  return compiles;
}

std::vector<uint8_t> SampleSettings() {
  std::vector<uint8_t> block(SETTINGS_SIZE);
  for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>(0xA5 ^ (i * 7));
  return block;
}

void CompileSample(void* compiler, uint32_t flashStart, size_t steps) {
  const TCompilerHost host(compiler);
  host.resetCompiler(COMPILER_RESET_LEVEL_TOTAL);
  const std::vector<uint8_t> settings = SampleSettings();
  if (!host.setCompilerSetting(settings.data(), static_cast<uint32_t>(settings.size())))
    throw std::runtime_error("settings block refused");
  host.addFreeRAMRange(16, 0xFFFF);
  host.addFreeFLASHRange(flashStart, 0xFFFFFFFF);
  for (size_t step = 0; step < steps; ++step) {
    const std::string n = std::to_string(step);
    host.Add("COMMENT", "rung " + n);
    host.Add("IF_BIT_SET", "Input" + std::to_string(step % 8));
    host.Add("SET_VARIABLE_TO_LITERAL", "Level" + std::to_string(step % 4), "", static_cast<short>(step * 37));
    host.Add("ELSE");
    host.Add("SET_BIT", "Out" + n);
    host.Add("END_IF");
  }
  host.Add("END_OF_PROGRAM");
  const int32_t code = host.startCompile();
  if (code != EXITCODE_NO_ERROR)
    throw std::runtime_error("compile failed with code " + std::to_string(code) + ": " + host.LastError());
}

}  // namespace integ
