// The four routine slots and the exports that fill them.
#include "bound_routines.h"

#include "dynlib.h"
#include "error_text.h"
#include "tolvane_export.h"

namespace {

TStreamReaderRoutines routines;

template <typename Func>
bool StoreRoutine(Func& slot, Func routine, const char* name) {
  slot = routine;
  if (routine == nullptr) {
    outplug_SetError(OUTPLUG_NULL_ASSIGNMENT, name);
    return false;
  }
  return true;
}

template <typename Func>
Func FindRoutine(void* module, const char* name) {
  return reinterpret_cast<Func>(plat_FindSymbol(module, name));
}

}  // namespace

const TStreamReaderRoutines& outplug_Routines() { return routines; }

TOLVANE_EXPORT bool Set_GetFirstByte_Func(GetFirstByte_Func routine) {
  return StoreRoutine(routines.firstByte, routine, "GetFirstByte");
}

TOLVANE_EXPORT bool Set_GetNextByte_Func(GetNextByte_Func routine) {
  return StoreRoutine(routines.nextByte, routine, "GetNextByte");
}

TOLVANE_EXPORT bool Set_GetCurrentByteData_Func(GetCurrentByteData_Func routine) {
  return StoreRoutine(routines.data, routine, "GetCurrentByteData");
}

TOLVANE_EXPORT bool Set_GetCurrentByteAddress_Func(GetCurrentByteAddress_Func routine) {
  return StoreRoutine(routines.address, routine, "GetCurrentByteAddress");
}

TOLVANE_EXPORT bool AttachToDLL(void* module) {
  if (module == nullptr) {
    outplug_SetError("Invalid DLL handle passed to '%s'", "AttachToDLL");
    return false;
  }
  // Every name is looked up and stored even after a miss, so the message
  // names the last routine the module lacks.
  bool found[] = {
      Set_GetFirstByte_Func(FindRoutine<GetFirstByte_Func>(module, "GetFirstByte")),
      Set_GetNextByte_Func(FindRoutine<GetNextByte_Func>(module, "GetNextByte")),
      Set_GetCurrentByteData_Func(FindRoutine<GetCurrentByteData_Func>(module, "GetCurrentByteData")),
      Set_GetCurrentByteAddress_Func(FindRoutine<GetCurrentByteAddress_Func>(module, "GetCurrentByteAddress")),
  };
  for (bool ok : found) {
    if (!ok) {
      routines = TStreamReaderRoutines();
      return false;
    }
  }
  return true;
}
