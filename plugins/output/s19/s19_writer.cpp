#include "s19_writer.h"

namespace {

bool WriteRecord(TLineFile& out, unsigned type, const THexRecord& record) {
  // The count covers the body and the checksum.
  const unsigned count = record.ByteCount() + 1;
  const uint8_t checksum = static_cast<uint8_t>(~(count + record.Sum()));
  return out.Print("S%hd%.2hX%s%.2hX\n", static_cast<short>(type), static_cast<unsigned short>(count),
                   record.Body(), static_cast<unsigned short>(checksum));
}

}  // namespace

void TS19Writer::OpenRecord(uint32_t address) {
  record_.Open();
  record_.AddField32(address);
}

bool TS19Writer::WriteDataRecord(TLineFile& out) {
  record_.Close();
  ++s3Count_;
  return WriteRecord(out, 3, record_);
}

bool TS19Writer::StartRun(TLineFile&, uint32_t address) {
  OpenRecord(address);
  return true;
}

void TS19Writer::AddByte(uint8_t data) { record_.AddData(data); }

// A full record is followed at once by one at the next address, which a jump
// or the end of the stream writes even when it got no data.
bool TS19Writer::LineFull(TLineFile& out, uint32_t nextAddress) {
  if (!WriteDataRecord(out)) return false;
  OpenRecord(nextAddress);
  return true;
}

bool TS19Writer::WritePending(TLineFile& out) { return !record_.IsOpen() || WriteDataRecord(out); }

bool TS19Writer::WriteTrailer(TLineFile& out) {
  THexRecord record;
  if (s3Count_ <= 0xFFFF) {
    record.Open();
    record.AddField16(static_cast<uint16_t>(s3Count_));
    if (!WriteRecord(out, 5, record)) return false;
  }
  record.Open();
  record.AddField32(0);
  return WriteRecord(out, 7, record);
}
