// SaveAs: the checks every output plug-in makes before its own work.
#include "bound_routines.h"
#include "error_text.h"
#include "save_body.h"
#include "tolvane_export.h"

TOLVANE_EXPORT bool SaveAs(const char* fileName) {
  if (fileName == nullptr) {
    outplug_SetError(OUTPLUG_NULL_ASSIGNMENT, "fileName in SaveAs");
    return false;
  }
  const TStreamReaderRoutines& routines = outplug_Routines();
  if (!routines.AllBound()) {
    outplug_SetError("Only valid stream reader routines might be used /NULL not allowed/");
    return false;
  }
  // Nothing is opened or even parsed for an empty image.
  if (!routines.firstByte()) {
    outplug_SetError("Nothing to write.");
    return false;
  }
  return outplug_SaveBody(fileName);
}
