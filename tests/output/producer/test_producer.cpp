// A producer module for the tests: serves the image a test hands it through
// TestProducer_SetImage under the four stream reader names. Its variants
// lack some of them (OUTTEST_LACKS_<name>), to attach to modules lacking a
// routine.
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

#if !defined(OUTTEST_LACKS_GetFirstByte)
TOLVANE_EXPORT bool GetFirstByte() { return cursor.First(); }
#endif
#if !defined(OUTTEST_LACKS_GetNextByte)
TOLVANE_EXPORT bool GetNextByte() { return cursor.Next(); }
#endif
#if !defined(OUTTEST_LACKS_GetCurrentByteData)
TOLVANE_EXPORT uint8_t GetCurrentByteData() { return cursor.Data(); }
#endif
#if !defined(OUTTEST_LACKS_GetCurrentByteAddress)
TOLVANE_EXPORT uint32_t GetCurrentByteAddress() { return cursor.Address(); }
#endif
