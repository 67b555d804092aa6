#include "ihex_writer.h"

namespace {

const uint8_t DATA_RECORD = 0x00;
const uint8_t EXTENDED_LINEAR_ADDRESS = 0x04;

bool WriteRecord(TLineFile& out, const THexRecord& record) {
  const unsigned count = record.DataCount();
  const uint8_t checksum = static_cast<uint8_t>(-(count + record.Sum()));
  return out.Print(":%.2hX%s%.2hX\n", static_cast<unsigned short>(count), record.Body(),
                   static_cast<unsigned short>(checksum));
}

}  // namespace

bool TIHEXWriter::OpenRecord(TLineFile& out, uint32_t address) {
  const auto upper = static_cast<uint16_t>(address >> 16);
  if (!upperStored_ || upper != upper_) {
    upperStored_ = true;
    upper_ = upper;
    THexRecord extended;
    extended.Open();
    extended.AddField16(0);
    extended.AddField(EXTENDED_LINEAR_ADDRESS);
    extended.AddData(static_cast<uint8_t>(upper >> 8));
    extended.AddData(static_cast<uint8_t>(upper));
    if (!WriteRecord(out, extended)) return false;
  }
  record_.Open();
  record_.AddField16(static_cast<uint16_t>(address));
  record_.AddField(DATA_RECORD);
  return true;
}

bool TIHEXWriter::WriteDataRecord(TLineFile& out) {
  record_.Close();
  return WriteRecord(out, record_);
}

bool TIHEXWriter::StartRun(TLineFile& out, uint32_t address) { return OpenRecord(out, address); }

void TIHEXWriter::AddByte(uint8_t data) { record_.AddData(data); }

// As the record opened at once after a full one can run across a 64 KiB
// boundary, readers place its bytes linearly from its start.
bool TIHEXWriter::LineFull(TLineFile& out, uint32_t nextAddress) {
  return WriteDataRecord(out) && OpenRecord(out, nextAddress);
}

bool TIHEXWriter::WritePending(TLineFile& out) { return !record_.IsOpen() || WriteDataRecord(out); }

bool TIHEXWriter::WriteTrailer(TLineFile& out) { return out.Print(":00000001FF"); }
