// A module that is neither plug-in: it has the output plug-in's AttachToDLL
// but no SaveAs, and the input plug-in's LoadFile but none of the stream
// reader routines. Both answer false.
#include "tolvane_export.h"

TOLVANE_EXPORT bool AttachToDLL(void*) { return false; }

TOLVANE_EXPORT bool LoadFile(const char*) { return false; }
