// libwr_s: GNU assembler source. The settings block (below 0xD0) goes into
// section plc_settings and the byte code (0xD0 to 0x0FFFFFFF) into
// plc_bytecode, as .byte lines of up to 16 bytes. The sections carry no
// addresses; bytes they cannot hold are written behind a comment.
#include "hex_text.h"
#include "run_writer.h"
#include "save_body.h"

namespace {

// The first address behind the settings block.
const uint32_t PLC_SETTINGS_SIZE = 0xD0;
// The first address the byte code section cannot hold.
const uint32_t BYTECODE_END = 0x10000000;

const char SETTINGS_HEADER[] = ".section plc_settings, psv\n.global _PLC_settings\n_PLC_settings:\n\n";
const char BYTECODE_HEADER[] = "\n.section plc_bytecode, psv\n.global _PLC_bytecode\n_PLC_bytecode:\n\n";

// Has no line end, so the data line after it is part of the comment.
bool WriteRangeComment(TLineFile& out, uint32_t address) {
  return out.Print("\t;Cannot emit to address 0x%X now", static_cast<unsigned>(address));
}

bool IsSettings(uint32_t address) { return address < PLC_SETTINGS_SIZE; }
bool IsBytecode(uint32_t address) { return address >= PLC_SETTINGS_SIZE && address < BYTECODE_END; }

class TAsmWriter : public TRunWriter {
 protected:
  bool StartRun(TLineFile& out, uint32_t address) override { return SectionStep(out, address); }

  void AddByte(uint8_t data) override { line_.Add(data); }

  bool LineFull(TLineFile& out, uint32_t nextAddress) override {
    return WriteLine(out) && SectionStep(out, nextAddress);
  }

  bool WritePending(TLineFile& out) override { return line_.IsEmpty() || WriteLine(out); }

 private:
  enum TSection { NOTHING_YET = -1, SETTINGS = 0, BYTECODE = 1, OUT_OF_RANGE = 1000 };

  // Enters the section that `address` belongs to, where that is still possible.
  bool SectionStep(TLineFile& out, uint32_t address) {
    line_.Clear();
    switch (section_) {
      case NOTHING_YET:
        if (!IsSettings(address)) return WriteRangeComment(out, address);
        section_ = SETTINGS;
        return out.Print("%s", SETTINGS_HEADER);
      case SETTINGS:
        if (IsSettings(address)) return true;
        section_ = BYTECODE;
        if (!IsBytecode(address)) return WriteRangeComment(out, address);
        return out.Print("%s", BYTECODE_HEADER);
      case BYTECODE:
        if (IsBytecode(address)) return true;
        section_ = OUT_OF_RANGE;
        return WriteRangeComment(out, address);
      case OUT_OF_RANGE: break;
    }
    return WriteRangeComment(out, address);
  }

  bool WriteLine(TLineFile& out) { return out.Print("\t.byte %s\n", line_.Take()); }

  TByteItemLine line_;
  TSection section_ = NOTHING_YET;
};

}  // namespace

bool outplug_SaveBody(const char* fileName) { return outplug_WriteFileAs<TAsmWriter>(fileName); }
