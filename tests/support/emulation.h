#pragma once
// Whether the test command runs this tree's programs under an emulator,
// which it names in TOLVANE_EMULATOR (qemu-i386-static where the kernel
// runs no 32-bit programs): a test that cannot work there skips itself.
#include <cstdlib>
#include <string>

namespace testkit {

// The emulator's name, "" when the programs run natively.
inline std::string Emulator() {
  const char* name = std::getenv("TOLVANE_EMULATOR");
  return name ? name : "";
}

}  // namespace testkit
