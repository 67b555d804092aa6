// libwr_de: the core with the DE include writer as its SaveAs body.
#include "de_writer.h"
#include "save_body.h"

bool outplug_SaveBody(const char* fileName) { return outplug_WriteFileAs<TDEWriter>(fileName); }
