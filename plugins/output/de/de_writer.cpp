#include "de_writer.h"

bool TDEWriter::StartRun(TLineFile& out, uint32_t address) {
  line_.Clear();
  return out.Print("\torg 0x%X\n\n", static_cast<unsigned>(address));
}

void TDEWriter::AddByte(uint8_t data) { line_.Add(data); }

// The run goes on without a new org.
bool TDEWriter::LineFull(TLineFile& out, uint32_t) { return WriteLine(out); }

bool TDEWriter::WritePending(TLineFile& out) { return line_.IsEmpty() || WriteLine(out); }

bool TDEWriter::WriteLine(TLineFile& out) { return out.Print("\tDE%s\n", line_.Take()); }
