// libwr_ihex: the core with the Intel HEX writer as its SaveAs body.
#include "ihex_writer.h"
#include "save_body.h"

bool outplug_SaveBody(const char* fileName) { return outplug_WriteFileAs<TIHEXWriter>(fileName); }
