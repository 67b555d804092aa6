// The compile driver: three passes with variable allocation after the first
// and label allocation after the second, the image trailer, the rewinds and
// the dumps into the logs folder beside the host program.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "bytestream.h"
#include "codegen.h"
#include "crc.h"
#include "errorframe.h"
#include "include/plccomp.h"
#include "modulepath.h"
#include "settings.h"
#include "symbols.h"
#include "tolvane_export.h"

namespace {

constexpr size_t kPathSize = 260;  // the host platform's path limit, terminator included

[[noreturn]] void outOfVariables() {
  dbp("allocateVariables(): Unable to allocate all variables.");
  PLC_TRACE(TRACE_FAILURES, "allocateVariables() => %s", "FALSE");
  AbortCompile(ERROR_OUT_OF_VARIABLES, "Out of memory for variables");
}

// Numbers the variables that are not fixed, most referenced first, INT and
// BIT each from 0 below their limit. An index is written into a 16-bit
// operand, so the indices end at 65535 whatever limit the host gives.
void allocateVariables() {
  PLC_TRACE(TRACE_FAILURES, "allocateVariables():");
  PLC_TRACE(TRACE_FLOW, "allocateVariables(): sort symbols by number of accesses");
  Symbols.sortByAccess();
  const uint32_t intLimit = std::min(dll_intLimit, kRecordFieldMax + 1);
  const uint32_t bitLimit = std::min(dll_bitLimit, kRecordFieldMax + 1);
  uint32_t nextInt = 0, nextBit = 0;
  for (SymbolRecord& symbol : Symbols) {
    if (std::strncmp(symbol.name, "ram", 3) != 0) {
      PLC_TRACE(TRACE_WARNINGS, "allocateVariables(): symbol \"%s\" not recognized as RAM symbol", symbol.name);
      continue;
    }
    if (symbol.fixed) continue;
    if (std::strncmp(symbol.name, "ram_int_", 8) == 0) {
      PLC_TRACE(TRACE_FLOW, "allocateVariables(): symbol \"%s\" recognized as INT", symbol.name);
      if (nextInt >= intLimit) outOfVariables();
      symbol.addr = nextInt++;
    } else if (std::strncmp(symbol.name, "ram_bit_", 8) == 0) {
      PLC_TRACE(TRACE_FLOW, "allocateVariables(): symbol \"%s\" recognized as BIT", symbol.name);
      if (nextBit >= bitLimit) outOfVariables();
      symbol.addr = nextBit++;
    } else {
      dbp("allocateVariables(): Unkown symbol type! (%s) ", symbol.name);
      PLC_TRACE(TRACE_FAILURES, "allocateVariables(): symbol \"%s\" type RAM size not recognized", symbol.name);
    }
  }
  PLC_TRACE(TRACE_FAILURES, "allocateVariables() => %s", "TRUE");
}

[[noreturn]] void labelPastJumpTargets(const SymbolRecord& label, uint32_t record) {
  dbp("allocateLabels(): Unable to address all labels.");
  PLC_TRACE(TRACE_FAILURES, "allocateLabels() => %s", "FALSE");
  AbortCompile(ERROR_COMPILE, "Program too long for 16-bit jump targets: label '%s' marks record %lu", label.name,
               static_cast<unsigned long>(record));
}

// Gives every label the index of the record it marks among the executable
// records. Labels are jump targets, written into a 16-bit field: a label past
// record 65535 ends the compile. This also keeps two blocks from sharing
// their labels, whose names carry the block number modulo 65536: block 65537,
// the first whose names repeat, has its IF at record 65536 or later.
void allocateLabels() {
  PLC_TRACE(TRACE_FAILURES, "allocateLabels():");
  PLC_TRACE(TRACE_FLOW, "allocateLabels(): sort symbols by number of accesses");
  uint32_t executable = 0;
  for (const BytecodeInstruction& record : PicProg) {
    if (plc_isExecutableOp(record.op)) ++executable;
    if (!record.label) continue;
    if (std::strncmp(record.label->name, "lbl", 3) == 0) {
      const uint32_t index = executable - 1;
      if (index > kRecordFieldMax) labelPastJumpTargets(*record.label, index);
      record.label->addr = index;
    } else {
      PLC_TRACE(TRACE_WARNINGS, "allocateLabels(): label \"%s\" not recognized as CODE symbol", record.label->name);
    }
  }
  PLC_TRACE(TRACE_FAILURES, "allocateLabels() => %s", "TRUE");
}

// The folder of the host program followed by "logs" and the folder separator
// (a backslash on Windows); false when the program's name cannot be read or
// the folder would not fit.
bool logsFolder(char (&folder)[kPathSize]) {
  char program[kPathSize] = {};
  folder[0] = '\0';
  if (plat_moduleFileName(program, sizeof program) == 0) return false;
  const char* separator = std::strrchr(program, PLAT_FOLDER_SEPARATOR);
  if (!separator) return false;
  const size_t folderLength = static_cast<size_t>(separator + 1 - program);
  return std::snprintf(folder, sizeof folder, "%.*slogs%c", static_cast<int>(folderLength), program,
                       PLAT_FOLDER_SEPARATOR) < static_cast<int>(sizeof folder);
}

// Writes one dump into the logs folder. A dump that cannot be written leaves
// the compile successful; a path that does not fit is not cut.
void dumpInto(const char* folder, const char* fileName, bool (*dump)(const char*)) {
  if (!folder[0]) return;
  char path[kPathSize];
  if (std::snprintf(path, sizeof path, "%s%s", folder, fileName) >= static_cast<int>(sizeof path)) {
    dbp("StartCompile(): path of '%s' in '%s' is too long, not written", fileName, folder);
    return;
  }
  dump(path);
}

}  // namespace

TOLVANE_EXPORT int32_t StartCompile() {
  PLC_TRACE(TRACE_FLOW, "StartCompile():");
  char folder[kPathSize];
  if (!logsFolder(folder)) {
    folder[0] = '\0';
    dbp("StartCompile(): folder of the host program unknown, no dumps are written");
  }
  return plc_frameWithCode(
      [](int code) -> int32_t {
        WipeCodeMemory();
        PLC_TRACE(TRACE_FAILURES, "StartCompile() => EXITCODE_ERROR(=%d)", code);
        return code;
      },
      [&]() -> int32_t {
        WipeCodeMemory();
        WipeSymbolMap(false);
        CompileFromIntermediate(true);
        allocateVariables();

        WipeCodeMemory();
        WipeSymbolAccesses();
        CompileFromIntermediate(true);
        allocateLabels();

        WipeCodeMemory();
        WipeSymbolAccesses();
        CompileFromIntermediate(true);
        if (!plc_bsImageFits()) AbortCompile(ERROR_COMPILE, "Image runs past address 0xFFFFFFFF");

        dumpInto(folder, "withexec.csv", d_dumpPICcode);
        AddCRCtoEndOfProgram();
        GetFirstSymbol();
        GetFirstCodeLine();
        GetFirstByte();

        dumpInto(folder, "icodetest.csv", d_dumpIntcode);
        dumpInto(folder, "pcodetest.csv", d_dumpPICcode);
        dumpInto(folder, "symtest.csv", d_dumpSymbols);
        PLC_TRACE(TRACE_FLOW, "StartCompile() => EXITCODE_NO_ERROR(=%d)", EXITCODE_NO_ERROR);
        return EXITCODE_NO_ERROR;
      });
}
