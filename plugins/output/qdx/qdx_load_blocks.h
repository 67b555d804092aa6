#pragma once
// Sends the image to the controller as 132-byte load blocks: a 4-byte
// little-endian address and 128 data bytes, the unused tail 0xFF.
#include "bound_routines.h"
#include "qdxdiagnostics.h"

// Walks the image from its first byte; one "*" per stored block. False when
// a block was not sent, not acknowledged, busy too long or not accepted.
// A jump in the addresses ends the block, so that every byte lands at its
// own address; the next byte starts a block of its own.
bool qdx_LoadImage(TQDXDiagIf& diag, const TStreamReaderRoutines& routines);
