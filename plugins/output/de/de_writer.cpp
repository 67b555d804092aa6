// libwr_de: DE include text. An org directive at the start of every run of
// contiguous addresses and DE directives of up to 16 bytes.
#include "hex_text.h"
#include "run_writer.h"
#include "save_body.h"

namespace {

class TDEWriter : public TRunWriter {
 protected:
  bool StartRun(TLineFile& out, uint32_t address) override {
    line_.Clear();
    return out.Print("\torg 0x%X\n\n", static_cast<unsigned>(address));
  }

  void AddByte(uint8_t data) override { line_.Add(data); }

  // The run goes on without a new org.
  bool LineFull(TLineFile& out, uint32_t) override { return WriteLine(out); }

  bool WritePending(TLineFile& out) override { return line_.IsEmpty() || WriteLine(out); }

 private:
  bool WriteLine(TLineFile& out) { return out.Print("\tDE%s\n", line_.Take()); }

  TByteItemLine line_;
};

}  // namespace

bool outplug_SaveBody(const char* fileName) { return outplug_WriteFileAs<TDEWriter>(fileName); }
