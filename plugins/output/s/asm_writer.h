#pragma once
// GNU assembler source: the settings block (below 0xD0) in section
// plc_settings and the byte code (0xD0 to 0x0FFFFFFF) in plc_bytecode, as
// .byte lines of up to 16 bytes. The sections carry no addresses; bytes the
// sections cannot hold are written behind a comment.
#include "hex_text.h"
#include "run_writer.h"

class TAsmWriter : public TRunWriter {
 protected:
  bool StartRun(TLineFile& out, uint32_t address) override;
  void AddByte(uint8_t data) override;
  bool LineFull(TLineFile& out, uint32_t nextAddress) override;
  bool WritePending(TLineFile& out) override;

 private:
  enum TSection { NOTHING_YET = -1, SETTINGS = 0, BYTECODE = 1, OUT_OF_RANGE = 1000 };

  // Enters the section that `address` belongs to, where that is possible.
  bool SectionStep(TLineFile& out, uint32_t address);
  bool WriteLine(TLineFile& out);

  TByteItemLine line_;
  TSection section_ = NOTHING_YET;
};
