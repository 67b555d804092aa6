// Example host of the compiler library: compiles a small ladder program of a
// pump station and prints the controller image and the symbol table.
//
//   plccomp_example [-o <image file>] [-p <output plug-in> <destination>]
//
// -o writes the image's bytes, raw, to a file. -p loads an output plug-in,
// attaches it to the compiler library, which serves the image through the
// stream reader routines, and saves the image to the destination.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "dynlib.h"
#include "plccomp.h"

namespace {

constexpr size_t kSettingsSize = 208;

struct TInstruction {
  const char* inst;
  const char* arg1;
  const char* arg2;
  const char* arg3;
  short literal;
};

// The pump runs while the start button is held; the fill valve opens while
// the tank is below 80.
const TInstruction kProgram[] = {
    {"COMMENT", "pump station", nullptr, nullptr, 0},
    {"IF_BIT_SET", "StartButton", nullptr, nullptr, 0},
    {"SET_BIT", "PumpOn", nullptr, nullptr, 0},
    {"INCREMENT_VARIABLE", "RunCycles", nullptr, nullptr, 0},
    {"IF_VARIABLE_LES_LITERAL", "TankLevel", nullptr, nullptr, 80},
    {"SET_BIT", "FillValve", nullptr, nullptr, 0},
    {"ELSE", nullptr, nullptr, nullptr, 0},
    {"CLEAR_BIT", "FillValve", nullptr, nullptr, 0},
    {"END_IF", nullptr, nullptr, nullptr, 0},
    {"ELSE", nullptr, nullptr, nullptr, 0},
    {"CLEAR_BIT", "PumpOn", nullptr, nullptr, 0},
    {"END_IF", nullptr, nullptr, nullptr, 0},
    {"COPY_BIT_TO_BIT", "AlarmLamp", "FillValve", nullptr, 0},
    {"SET_VARIABLE_ADD", "Total", "RunCycles", "TankLevel", 0},
    {"END_OF_PROGRAM", nullptr, nullptr, nullptr, 0},
};

void put16(std::vector<unsigned char>& block, size_t at, uint16_t value) {
  block[at] = static_cast<unsigned char>(value & 0xFF);
  block[at + 1] = static_cast<unsigned char>(value >> 8);
}

void put32(std::vector<unsigned char>& block, size_t at, uint32_t value) {
  put16(block, at, static_cast<uint16_t>(value & 0xFFFF));
  put16(block, at + 2, static_cast<uint16_t>(value >> 16));
}

// A settings block in the controller's layout: 10 ms cycle, port directions,
// UART 1 at 9600 baud.
std::vector<unsigned char> settingsBlock() {
  std::vector<unsigned char> block(kSettingsSize, 0);
  put16(block, 0, 10);  // cycletime_msec
  const uint16_t tris[8] = {0x00FF, 0x0000, 0x00F0, 0x000F, 0x0007, 0x0000, 0x0000, 0x0000};
  for (int port = 0; port < 8; ++port) put16(block, 2 + 2 * port, tris[port]);  // TRISA to TRISH
  put16(block, 18, 0x0003);                                                     // adcUsed
  put32(block, 36, 9600);                                                       // uart1_baud
  return block;
}

std::string lastError() {
  std::vector<char> text(GetLastErrorMsg(nullptr, 0) + 1);
  GetLastErrorMsg(text.data(), static_cast<uint32_t>(text.size()));
  return text.data();
}

bool compileProgram() {
  ResetCompiler(COMPILER_RESET_LEVEL_TOTAL);
  const std::vector<unsigned char> settings = settingsBlock();
  if (!SetCompilerSetting(settings.data(), static_cast<uint32_t>(settings.size()))) {
    std::fprintf(stderr, "settings block refused\n");
    return false;
  }
  AddFreeRAMRange(64, 128);
  AddFreeFLASHRange(0, 0xFFFF);
  if (!AddFixSymbol("StartButton", "BIT", 100, 3)) {
    std::fprintf(stderr, "fixed symbol refused: %s\n", lastError().c_str());
    return false;
  }
  for (const TInstruction& i : kProgram) {
    if (!AddHighLevelInstruction(i.inst, i.arg1, i.arg2, i.arg3, i.literal)) {
      std::fprintf(stderr, "instruction %s refused: %s\n", i.inst, lastError().c_str());
      return false;
    }
  }
  const int32_t code = StartCompile();
  if (code != EXITCODE_NO_ERROR) {
    std::fprintf(stderr, "compile failed with code %d: %s\n", static_cast<int>(code), lastError().c_str());
    return false;
  }
  return true;
}

std::vector<uint8_t> readImage(uint32_t& firstAddress) {
  std::vector<uint8_t> bytes;
  firstAddress = 0;
  if (!GetFirstByte()) return bytes;
  firstAddress = GetCurrentByteAddress();
  do bytes.push_back(GetCurrentByteData());
  while (GetNextByte());
  return bytes;
}

void printImage(const std::vector<uint8_t>& bytes, uint32_t firstAddress) {
  std::printf("Controller image: %zu bytes (settings block 0x%04X-0x%04X, byte code from 0x%04X)\n", bytes.size(),
              firstAddress, static_cast<unsigned>(firstAddress + kSettingsSize - 1),
              static_cast<unsigned>(firstAddress + kSettingsSize));
  for (size_t at = 0; at < bytes.size(); at += 16) {
    std::printf("  %08X:", static_cast<unsigned>(firstAddress + at));
    for (size_t i = at; i < at + 16 && i < bytes.size(); ++i) std::printf(" %02X", bytes[i]);
    std::printf("\n");
  }
}

void printSymbols() {
  std::printf("Symbol table:\n  %-24s %-6s %8s %6s %9s %s\n", "name", "type", "addr", "bit", "accessed", "fixed");
  if (!GetFirstSymbol()) return;
  do {
    std::printf("  %-24s %-6s %8u %6u %9d %s\n", GetCurrentSymbolName(), GetCurrentSymbolType(),
                static_cast<unsigned>(GetCurrentSymbolAddr()), static_cast<unsigned>(GetCurrentSymbolBitID()),
                static_cast<int>(GetCurrentSymbolAccess()), IsCurrentSymbolFixed() ? "yes" : "no");
  } while (GetNextSymbol());
}

bool writeRaw(const char* path, const std::vector<uint8_t>& bytes) {
  FILE* file = std::fopen(path, "wb");
  const bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (file && std::fclose(file) != 0) return false;
  if (written) std::printf("Image written to %s\n", path);
  return written;
}

// Hands the compiler library to an output plug-in, which pulls the image
// through the stream reader routines and saves it.
bool saveThroughPlugin(const char* pluginPath, const char* destination) {
  using TAttach = bool (*)(void*);
  using TSaveAs = bool (*)(const char*);
  using TLastError = int (*)(char*, unsigned);
  void* plugin = plat_LoadLibrary(pluginPath);
  if (!plugin) {
    std::fprintf(stderr, "cannot load %s: %s\n", pluginPath, plat_LoadError());
    return false;
  }
  auto attach = reinterpret_cast<TAttach>(plat_FindSymbol(plugin, "AttachToDLL"));
  auto saveAs = reinterpret_cast<TSaveAs>(plat_FindSymbol(plugin, "SaveAs"));
  auto pluginError = reinterpret_cast<TLastError>(plat_FindSymbol(plugin, "GetLastErrorMsg"));
  // The compiler library this program is linked against, as a module handle.
  void* compiler = plat_LoadedModule(PLCCOMP_FILE_NAME);
  bool saved = false;
  if (!attach || !saveAs || !compiler) {
    std::fprintf(stderr, "%s is not an output plug-in\n", pluginPath);
  } else if (attach(compiler) && saveAs(destination)) {
    std::printf("Image saved through %s to %s\n", pluginPath, destination);
    saved = true;
  } else {
    char text[512] = "";
    if (pluginError) pluginError(text, sizeof text);
    std::fprintf(stderr, "%s could not save to %s: %s\n", pluginPath, destination, text);
  }
  plat_FreeLibrary(plugin);  // before the producer it points into
  plat_FreeLibrary(compiler);
  return saved;
}

int usage(const char* program) {
  std::fprintf(stderr, "usage: %s [-o <image file>] [-p <output plug-in> <destination>]\n", program);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const char* rawPath = nullptr;
  const char* pluginPath = nullptr;
  const char* destination = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-o") == 0 && i + 1 < argc) {
      rawPath = argv[++i];
    } else if (std::strcmp(argv[i], "-p") == 0 && i + 2 < argc) {
      pluginPath = argv[++i];
      destination = argv[++i];
    } else {
      return usage(argv[0]);
    }
  }

  std::printf("Compiling the pump station program (%zu instructions)\n", sizeof kProgram / sizeof kProgram[0]);
  if (!compileProgram()) return 1;
  uint32_t firstAddress = 0;
  const std::vector<uint8_t> bytes = readImage(firstAddress);
  printImage(bytes, firstAddress);
  printSymbols();
  if (rawPath && !writeRaw(rawPath, bytes)) {
    std::fprintf(stderr, "cannot write %s\n", rawPath);
    return 1;
  }
  if (pluginPath && !saveThroughPlugin(pluginPath, destination)) return 1;
  return 0;
}
