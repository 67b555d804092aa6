#include "s19reader.h"

#include <new>

TFileFormatReader* intface_NewReader() { return new (std::nothrow) TS19Reader(); }
