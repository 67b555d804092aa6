#include "ihexreader.h"

#include <new>

TFileFormatReader* intface_NewReader() { return new (std::nothrow) TIHEXReader(); }
