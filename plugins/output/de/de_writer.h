#pragma once
// DE include text: an org directive at the start of every run of contiguous
// addresses and DE directives of up to 16 bytes.
#include "hex_text.h"
#include "run_writer.h"

class TDEWriter : public TRunWriter {
 protected:
  bool StartRun(TLineFile& out, uint32_t address) override;
  void AddByte(uint8_t data) override;
  bool LineFull(TLineFile& out, uint32_t nextAddress) override;
  bool WritePending(TLineFile& out) override;

 private:
  bool WriteLine(TLineFile& out);

  TByteItemLine line_;
};
