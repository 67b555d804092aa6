// libwr_s19: Motorola S-records. S3 data records of up to 16 bytes, an S5
// record count while it fits 16 bits, and an S7 end record.
#include "hex_text.h"
#include "run_writer.h"
#include "save_body.h"

namespace {

bool WriteRecord(TLineFile& out, unsigned type, const THexRecord& record) {
  // The count covers the body and the checksum.
  const unsigned count = record.ByteCount() + 1;
  const uint8_t checksum = static_cast<uint8_t>(~(count + record.Sum()));
  return out.Print("S%hd%.2hX%s%.2hX\n", static_cast<short>(type), static_cast<unsigned short>(count), record.Body(),
                   static_cast<unsigned short>(checksum));
}

class TS19Writer : public TRunWriter {
 protected:
  bool StartRun(TLineFile&, uint32_t address) override {
    OpenRecord(address);
    return true;
  }

  void AddByte(uint8_t data) override { record_.AddData(data); }

  // A full record is followed at once by one at the next address, which a
  // jump or the end of the stream writes even when it got no data.
  bool LineFull(TLineFile& out, uint32_t nextAddress) override {
    if (!WriteDataRecord(out)) return false;
    OpenRecord(nextAddress);
    return true;
  }

  bool WritePending(TLineFile& out) override { return !record_.IsOpen() || WriteDataRecord(out); }

  bool WriteTrailer(TLineFile& out) override {
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

 private:
  void OpenRecord(uint32_t address) {
    record_.Open();
    record_.AddField32(address);
  }

  bool WriteDataRecord(TLineFile& out) {
    record_.Close();
    ++s3Count_;
    return WriteRecord(out, 3, record_);
  }

  THexRecord record_;
  uint32_t s3Count_ = 0;
};

}  // namespace

bool outplug_SaveBody(const char* fileName) { return outplug_WriteFileAs<TS19Writer>(fileName); }
