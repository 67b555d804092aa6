// A host program that compiles a small program with the compiler library
// named on its command line; the tests run copies of it in folders of their
// own to see where the dumps go.
#include <cstdio>

#include "dynlib.h"
#include "plccomp.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <compiler library>\n", argv[0]);
    return 2;
  }
  void* library = plat_LoadLibrary(argv[1]);
  if (!library) {
    std::fprintf(stderr, "%s\n", plat_LoadError());
    return 2;
  }
  auto reset = reinterpret_cast<decltype(&ResetCompiler)>(plat_FindSymbol(library, "ResetCompiler"));
  auto add = reinterpret_cast<decltype(&AddHighLevelInstruction)>(plat_FindSymbol(library, "AddHighLevelInstruction"));
  auto compile = reinterpret_cast<decltype(&StartCompile)>(plat_FindSymbol(library, "StartCompile"));
  if (!reset || !add || !compile) return 2;

  reset(COMPILER_RESET_LEVEL_TOTAL);
  // Counts of 4, 3, 2 and 1 give the symbol table a defined order.
  add("SET_BIT", "lamp", nullptr, nullptr, 0);
  add("IF_BIT_SET", "door", nullptr, nullptr, 0);
  add("COPY_BIT_TO_BIT", "lamp", "door", nullptr, 0);
  add("END_IF", nullptr, nullptr, nullptr, 0);
  add("COPY_BIT_TO_BIT", "lamp", "door", nullptr, 0);
  add("SET_BIT", "lamp", nullptr, nullptr, 0);
  add("END_OF_PROGRAM", nullptr, nullptr, nullptr, 0);
  const int code = compile();
  std::printf("StartCompile() gave %d\n", code);
  return code == 0 ? 0 : 1;
}
