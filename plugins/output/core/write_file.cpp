// The walk of a file writer's SaveAs, after the common checks.
#include "bound_routines.h"
#include "error_text.h"
#include "format_writer.h"

namespace {

bool CannotWrite(const char* fileName) {
  outplug_SetError(OUTPLUG_CANNOT_WRITE, fileName);
  return false;
}

bool WriteImage(TLineFile& out, TFormatWriter& writer) {
  const TStreamReaderRoutines& routines = outplug_Routines();
  // A producer that has emptied since the check leaves an empty file.
  if (!routines.firstByte()) return true;
  do {
    const uint32_t address = routines.address();
    const uint8_t data = routines.data();
    if (!writer.PutByte(out, address, data)) return false;
  } while (routines.nextByte());
  return writer.Finish(out);
}

}  // namespace

bool outplug_WriteFile(const char* fileName, TFormatWriter& writer) {
  TLineFile out;
  if (!out.Open(fileName)) return CannotWrite(fileName);
  const bool written = WriteImage(out, writer);
  const bool closed = out.Close();
  if (!written || !closed) return CannotWrite(fileName);
  return true;
}
