#pragma once
// Intel HEX with 32-bit addresses: data records of up to 16 bytes, an
// extended linear address record wherever the upper 16 address bits change,
// and the end-of-file record.
#include "hex_text.h"
#include "run_writer.h"

class TIHEXWriter : public TRunWriter {
 protected:
  bool StartRun(TLineFile& out, uint32_t address) override;
  void AddByte(uint8_t data) override;
  bool LineFull(TLineFile& out, uint32_t nextAddress) override;
  bool WritePending(TLineFile& out) override;
  bool WriteTrailer(TLineFile& out) override;

 private:
  bool OpenRecord(TLineFile& out, uint32_t address);
  bool WriteDataRecord(TLineFile& out);

  THexRecord record_;
  bool upperStored_ = false;
  uint16_t upper_ = 0;
};
