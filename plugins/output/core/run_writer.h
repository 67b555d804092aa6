#pragma once
// The shape all file formats share: the stream is cut into runs of
// contiguous addresses (the address after 0xFFFFFFFF is 0), and each run
// into lines of at most 16 bytes. A format says what starting a run, adding
// a byte, a full line, the pending rest and the trailer write.
#include "format_writer.h"

class TRunWriter : public TFormatWriter {
 public:
  static constexpr unsigned BYTES_PER_LINE = 16;

  bool PutByte(TLineFile& out, uint32_t address, uint8_t data) final;
  bool Finish(TLineFile& out) final;

 protected:
  // At the first byte and at every jump, once the pending line is written.
  virtual bool StartRun(TLineFile& out, uint32_t address) = 0;
  virtual void AddByte(uint8_t data) = 0;
  // After the 16th byte of a line; `nextAddress` is where the run goes on.
  virtual bool LineFull(TLineFile& out, uint32_t nextAddress) = 0;
  // Before a jump and at the end of the stream.
  virtual bool WritePending(TLineFile& out) = 0;
  virtual bool WriteTrailer(TLineFile& out);

 private:
  bool inRun_ = false;
  uint32_t expected_ = 0;
  unsigned lineCount_ = 0;
};
