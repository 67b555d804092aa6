// A producer module for the tests: serves the image a test hands it through
// TestProducer_SetImage under the four stream reader names. Its variants
// hide some of the names, to attach to modules lacking a routine.
#include "test_image.h"
#include "test_producer_api.h"
#include "tolvane_export.h"

namespace {
outtest::TImageCursor cursor;
}

TOLVANE_EXPORT void TestProducer_SetImage(const uint32_t* addresses, const uint8_t* data, size_t count) {
  outtest::TImage image;
  for (size_t i = 0; i < count; ++i) image.push_back({addresses[i], data[i]});
  cursor.Set(std::move(image));
}

TOLVANE_EXPORT bool GetFirstByte() { return cursor.First(); }
TOLVANE_EXPORT bool GetNextByte() { return cursor.Next(); }
TOLVANE_EXPORT uint8_t GetCurrentByteData() { return cursor.Data(); }
TOLVANE_EXPORT uint32_t GetCurrentByteAddress() { return cursor.Address(); }
