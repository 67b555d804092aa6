#pragma once
// Plain functions of the test program that serve one image, for binding
// through the Set_..._Func exports without any producer module.
#include "plugin_module.h"
#include "test_image.h"

namespace outtest {

void ServeImage(TImage image);
bool ServedFirstByte();
bool ServedNextByte();
uint8_t ServedByteData();
uint32_t ServedByteAddress();
// Binds the four functions above to `plugin`.
bool BindServedImage(const TOutputPlugin& plugin);

}  // namespace outtest
