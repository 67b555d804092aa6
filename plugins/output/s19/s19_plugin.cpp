// libwr_s19: the core with the S-record writer as its SaveAs body.
#include "save_body.h"
#include "s19_writer.h"

bool outplug_SaveBody(const char* fileName) { return outplug_WriteFileAs<TS19Writer>(fileName); }
