#pragma once
// The producer's four stream reader routines as this plug-in holds them.
#include "output_plugin.h"

struct TStreamReaderRoutines {
  GetFirstByte_Func firstByte = nullptr;
  GetNextByte_Func nextByte = nullptr;
  GetCurrentByteData_Func data = nullptr;
  GetCurrentByteAddress_Func address = nullptr;

  bool AllBound() const { return firstByte && nextByte && data && address; }
};

// Set through the Set_..._Func exports or AttachToDLL; the writers walk the
// image through them.
const TStreamReaderRoutines& outplug_Routines();
