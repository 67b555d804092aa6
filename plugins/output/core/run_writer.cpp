#include "run_writer.h"

bool TRunWriter::PutByte(TLineFile& out, uint32_t address, uint8_t data) {
  if (!inRun_ || address != expected_) {
    if (!WritePending(out) || !StartRun(out, address)) return false;
    inRun_ = true;
    expected_ = address;
    lineCount_ = 0;
  }
  AddByte(data);
  ++expected_;
  if (++lineCount_ < BYTES_PER_LINE) return true;
  lineCount_ = 0;
  return LineFull(out, expected_);
}

bool TRunWriter::Finish(TLineFile& out) { return WritePending(out) && WriteTrailer(out); }

bool TRunWriter::WriteTrailer(TLineFile&) { return true; }
