#pragma once
// Motorola S-records: S3 data records of up to 16 bytes, an S5 record count
// while it fits 16 bits, and an S7 end record.
#include "hex_text.h"
#include "run_writer.h"

class TS19Writer : public TRunWriter {
 protected:
  bool StartRun(TLineFile& out, uint32_t address) override;
  void AddByte(uint8_t data) override;
  bool LineFull(TLineFile& out, uint32_t nextAddress) override;
  bool WritePending(TLineFile& out) override;
  bool WriteTrailer(TLineFile& out) override;

 private:
  void OpenRecord(uint32_t address);
  bool WriteDataRecord(TLineFile& out);

  THexRecord record_;
  uint32_t s3Count_ = 0;
};
