// libwr_ihex: Intel HEX with 32-bit addresses. Data records of up to 16
// bytes, an extended linear address record wherever the upper 16 address
// bits change, and the end-of-file record.
#include "hex_text.h"
#include "run_writer.h"
#include "save_body.h"

namespace {

const uint8_t DATA_RECORD = 0x00;
const uint8_t EXTENDED_LINEAR_ADDRESS = 0x04;

bool WriteRecord(TLineFile& out, const THexRecord& record) {
  const unsigned count = record.DataCount();
  const uint8_t checksum = static_cast<uint8_t>(-(count + record.Sum()));
  return out.Print(":%.2hX%s%.2hX\n", static_cast<unsigned short>(count), record.Body(),
                   static_cast<unsigned short>(checksum));
}

class TIHEXWriter : public TRunWriter {
 protected:
  bool StartRun(TLineFile& out, uint32_t address) override { return OpenRecord(out, address); }

  void AddByte(uint8_t data) override { record_.AddData(data); }

  bool LineFull(TLineFile& out, uint32_t nextAddress) override {
    return WriteDataRecord(out) && OpenRecord(out, nextAddress);
  }

  bool WritePending(TLineFile& out) override { return !record_.IsOpen() || WriteDataRecord(out); }

  bool WriteTrailer(TLineFile& out) override { return out.Print(":00000001FF"); }

 private:
  // A record opened inside a 64 KiB block can run across its end: readers
  // place its bytes linearly from its start.
  bool OpenRecord(TLineFile& out, uint32_t address) {
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

  bool WriteDataRecord(TLineFile& out) {
    record_.Close();
    return WriteRecord(out, record_);
  }

  THexRecord record_;
  bool upperStored_ = false;
  uint16_t upper_ = 0;
};

}  // namespace

bool outplug_SaveBody(const char* fileName) { return outplug_WriteFileAs<TIHEXWriter>(fileName); }
