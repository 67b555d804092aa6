#include "served_image.h"

namespace outtest {
namespace {
TImageCursor servedCursor;
}

void ServeImage(TImage image) { servedCursor.Set(std::move(image)); }
bool ServedFirstByte() { return servedCursor.First(); }
bool ServedNextByte() { return servedCursor.Next(); }
uint8_t ServedByteData() { return servedCursor.Data(); }
uint32_t ServedByteAddress() { return servedCursor.Address(); }

bool BindServedImage(const TOutputPlugin& plugin) {
  return plugin.Bind(ServedFirstByte, ServedNextByte, ServedByteData, ServedByteAddress);
}

}  // namespace outtest
