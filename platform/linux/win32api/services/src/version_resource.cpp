#include <win32/linked_resources.h>
#include <windows.h>

namespace {

void putWord(std::vector<BYTE>& out, WORD value) {
  out.push_back(static_cast<BYTE>(value));
  out.push_back(static_cast<BYTE>(value >> 8));
}

void putDword(std::vector<BYTE>& out, DWORD value) {
  putWord(out, static_cast<WORD>(value));
  putWord(out, static_cast<WORD>(value >> 16));
}

}  // namespace

std::vector<BYTE> w32_versionResource(WORD major, WORD minor, WORD release, WORD build) {
  const DWORD fixedSize = 13 * 4;
  const DWORD versionMS = (DWORD(major) << 16) | minor;
  const DWORD versionLS = (DWORD(release) << 16) | build;
  std::vector<BYTE> out;
  putWord(out, 0);  // total length, known at the end
  putWord(out, static_cast<WORD>(fixedSize));
  putWord(out, 0);                                     // binary value
  for (const char* key = "VS_VERSION_INFO";; ++key) {  // UTF-16 with its zero
    putWord(out, static_cast<BYTE>(*key));
    if (!*key) break;
  }
  while (out.size() % 4) out.push_back(0);
  putDword(out, 0xFEEF04BD);  // signature of the fixed file information
  putDword(out, 0x00010000);  // its layout version
  putDword(out, versionMS);   // file version
  putDword(out, versionLS);
  putDword(out, versionMS);  // product version
  putDword(out, versionLS);
  putDword(out, 0x3F);        // flags mask
  putDword(out, 0);           // flags
  putDword(out, 0x00040004);  // 32-bit Windows on NT
  putDword(out, 1);           // an application
  putDword(out, 0);           // subtype
  putDword(out, 0);           // date
  putDword(out, 0);
  out[0] = static_cast<BYTE>(out.size());
  out[1] = static_cast<BYTE>(out.size() >> 8);
  return out;
}
