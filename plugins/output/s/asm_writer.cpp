#include "asm_writer.h"

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

}  // namespace

bool TAsmWriter::SectionStep(TLineFile& out, uint32_t address) {
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
    case OUT_OF_RANGE:
      break;
  }
  return WriteRangeComment(out, address);
}

bool TAsmWriter::WriteLine(TLineFile& out) { return out.Print("\t.byte %s\n", line_.Take()); }

bool TAsmWriter::StartRun(TLineFile& out, uint32_t address) { return SectionStep(out, address); }

void TAsmWriter::AddByte(uint8_t data) { line_.Add(data); }

bool TAsmWriter::LineFull(TLineFile& out, uint32_t nextAddress) {
  return WriteLine(out) && SectionStep(out, nextAddress);
}

bool TAsmWriter::WritePending(TLineFile& out) { return line_.IsEmpty() || WriteLine(out); }
