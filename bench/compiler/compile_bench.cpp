// StartCompile after a total reset (debug lines off) on ladder programs of
// 1,000, 10,000 and 50,000 instructions with one variable per five
// instructions. The per_instruction counter shows how the cost per
// instruction grows with the program.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "plccomp.h"

namespace {

// Hands over a program of about `instructions` instructions, built from a
// ten-instruction pattern with two IF blocks, one of them with ELSE.
void handOverProgram(long instructions) {
  const long variables = instructions / 5;
  const long ints = variables / 2, bits = variables - ints;
  auto intName = [&](long k) { return "i" + std::to_string(k % ints); };
  auto bitName = [&](long k) { return "b" + std::to_string(k % bits); };
  for (long n = 0; n + 10 <= instructions - 1; n += 10) {
    const long k = n / 10;
    AddHighLevelInstruction("IF_BIT_SET", bitName(k).c_str(), nullptr, nullptr, 0);
    AddHighLevelInstruction("SET_VARIABLE_ADD", intName(k).c_str(), intName(k + 1).c_str(), intName(k + 2).c_str(), 0);
    AddHighLevelInstruction("ELSE", nullptr, nullptr, nullptr, 0);
    AddHighLevelInstruction("INCREMENT_VARIABLE", intName(k + 3).c_str(), nullptr, nullptr, 0);
    AddHighLevelInstruction("END_IF", nullptr, nullptr, nullptr, 0);
    AddHighLevelInstruction("COPY_BIT_TO_BIT", bitName(k + 1).c_str(), bitName(k + 2).c_str(), nullptr, 0);
    AddHighLevelInstruction("SET_VARIABLE_TO_LITERAL", intName(k + 4).c_str(), nullptr, nullptr, static_cast<short>(k));
    AddHighLevelInstruction("IF_VARIABLE_LES_LITERAL", intName(k + 5).c_str(), nullptr, nullptr, 100);
    AddHighLevelInstruction("SET_BIT", bitName(k + 3).c_str(), nullptr, nullptr, 0);
    AddHighLevelInstruction("END_IF", nullptr, nullptr, nullptr, 0);
  }
  AddHighLevelInstruction("END_OF_PROGRAM", nullptr, nullptr, nullptr, 0);
}

void BM_StartCompile(benchmark::State& state) {
  const long instructions = state.range(0);
  ResetCompiler(COMPILER_RESET_LEVEL_TOTAL);
  const std::vector<unsigned char> settings(208, 0);
  SetCompilerSetting(settings.data(), static_cast<uint32_t>(settings.size()));
  AddFreeRAMRange(65535, 65535);
  AddFreeFLASHRange(0, 0xFFFFFF);
  handOverProgram(instructions);
  for (auto _ : state) {
    if (StartCompile() != EXITCODE_NO_ERROR) {
      state.SkipWithError("compile failed");
      break;
    }
  }
  state.counters["per_instruction"] = benchmark::Counter(
      static_cast<double>(instructions), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(BM_StartCompile)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
