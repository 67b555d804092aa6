// libwr_s: the core with the GNU assembler source writer as its SaveAs body.
#include "asm_writer.h"
#include "save_body.h"

bool outplug_SaveBody(const char* fileName) { return outplug_WriteFileAs<TAsmWriter>(fileName); }
