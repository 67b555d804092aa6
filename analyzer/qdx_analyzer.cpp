// qdx_analyzer: prints the settings block of an S-record controller image.
#include "input_plugin.h"
#include "settings_listing.h"

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) {
    printf("Usage: qdx_analyzer <input file.s19>\n");
    return 1;
  }
  const char* path = argv[1];
  printf("Opening file: '%s'\n", path);
  if (!LoadFile(path)) {
    printf("File load error!\n");
    return 1;
  }
  if (!GetFirstByte()) {
    printf("File data count = 0\n");
    return 0;
  }

  // Bytes the image does not supply read as 0.
  uint8_t block[PLC_SETTINGS_SIZE] = {};
  do {
    if (GetCurrentByteAddress() < PLC_SETTINGS_SIZE) {
      const uint32_t address = GetCurrentByteAddress();
      const uint8_t data = GetCurrentByteData();
      if (address < PLC_SETTINGS_SIZE) block[address] = data;
    }
  } while (GetNextByte());

  ana_PrintSettings(block, stdout);
  return 0;
}
