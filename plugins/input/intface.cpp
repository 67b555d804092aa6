#include "intface.h"
#include "input_plugin.h"

TFileFormatReader* formatReader = nullptr;

namespace {

// A host may unload the plug-in and load it again: the image goes with it.
struct TReaderRelease {
  ~TReaderRelease() {
    delete formatReader;
    formatReader = nullptr;
  }
} releaseAtUnload;

}  // namespace

TOLVANE_EXPORT bool LoadFile(const char* path) {
  delete formatReader;
  formatReader = intface_NewReader();
  if (formatReader == nullptr) return false;
  try {
    return formatReader->ReadFile(path);
  } catch (...) {
    // Out of memory while appending: the reader keeps what it had stored.
    return false;
  }
}

TOLVANE_EXPORT bool GetFirstByte() { return formatReader != nullptr && formatReader->GetFirstByte(); }

TOLVANE_EXPORT bool GetNextByte() { return formatReader != nullptr && formatReader->GetNextByte(); }

TOLVANE_EXPORT uint32_t GetCurrentByteAddress() {
  return formatReader != nullptr ? formatReader->GetCurrentByteAddress() : 0;
}

TOLVANE_EXPORT uint8_t GetCurrentByteData() { return formatReader != nullptr ? formatReader->GetCurrentByteData() : 0; }
