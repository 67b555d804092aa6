#pragma once
// A host's compile in a loaded copy of the compiler library.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace integ {

// The 208-byte settings block the host hands over; no two neighbouring
// bytes are alike, so a shifted or dropped byte shows.
std::vector<uint8_t> SampleSettings();

// Compiles that fill FLASH from 0, run across a 64 KiB boundary, start above
// it, and make a program of some 100 KiB.
struct TCompiledCase {
  std::string name;
  uint32_t flashStart;
  size_t steps;
};
const std::vector<TCompiledCase>& SampleCompiles();

// Compiles a ladder program of `steps` rungs (each a few records) with the
// sample settings block at `flashStart`, in the compiler module behind
// `compiler` (the dynamic loader's handle). Throws with the compiler's error
// text when the compile fails.
void CompileSample(void* compiler, uint32_t flashStart, size_t steps);

}  // namespace integ
