#include "versioninfo.h"

#include <cstdio>
#include <cstring>

namespace {

const unsigned char fixedInfoSignature[4] = {0xBD, 0x04, 0xEF, 0xFE};

DWORD readDword(const unsigned char* at) {
  return DWORD(at[0]) | DWORD(at[1]) << 8 | DWORD(at[2]) << 16 | DWORD(at[3]) << 24;
}

}  // namespace

char* GetVersionInfo(HINSTANCE instance, char* buf, unsigned len) {
  if (len == 0 || !buf) return buf;
  HRSRC resource = FindResourceA(instance, MAKEINTRESOURCEA(VS_VERSION_INFO), RT_VERSION);
  strncpy(buf, "<no version info>", len);
  HGLOBAL loaded = resource ? LoadResource(instance, resource) : nullptr;
  const auto* block = loaded ? static_cast<const unsigned char*>(LockResource(loaded)) : nullptr;
  const DWORD size = resource ? SizeofResource(instance, resource) : 0;
  if (block && size >= 2) {
    // The block's own length, but never beyond the resource, and a match
    // counts only with the two version words behind it inside the resource.
    DWORD length = DWORD(block[0]) | DWORD(block[1]) << 8;
    if (length > size) length = size;
    for (DWORD i = 0; length > 4 && i < length - 4; ++i) {
      if (std::memcmp(block + i, fixedInfoSignature, 4) != 0 || i + 16 > size) continue;
      const DWORD versionMS = readDword(block + i + 8), versionLS = readDword(block + i + 12);
      snprintf(buf, len, "%d.%d release:%d build:%d", int(versionMS >> 16), int(versionMS & 0xFFFF),
               int(versionLS >> 16), int(versionLS & 0xFFFF));
    }
  }
  buf[len - 1] = 0;
  return buf;
}
