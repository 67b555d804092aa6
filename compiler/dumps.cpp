// CSV dumps of the byte code, the symbol table and the intermediate program.
#include <cstdio>

#include "codegen.h"
#include "errorframe.h"
#include "include/plccomp.h"
#include "intake.h"
#include "nullstrings.h"
#include "symbols.h"
#include "tolvane_export.h"

namespace {

// Ends a row: flushed at once, so that a dump cut short keeps every finished
// row. False when the file has refused a write.
bool rowWritten(FILE* file) { return std::fflush(file) == 0 && !std::ferror(file); }

// Runs one dump in its frame: checks the name, opens the file, lets write
// fill it (write gives false at the first row that did not reach the file),
// closes it. The last flush is made before the close and checked apart: a
// close need not report the failure of the flush it makes.
template <typename Write>
bool dump(const char* routine, const char* failureText, const char* fileNameAndPath, Write write) {
  PLC_TRACE(TRACE_FAILURES, "%s(%s%s%s):", routine, PLC_Q(fileNameAndPath));
  return plc_frame(
      false, [&](int code) { PLC_TRACE(TRACE_FAILURES, "%s() Exiting due to oops(%d) => FALSE", routine, code); },
      [&] {
        if (strlennull(fileNameAndPath) == 0) {
          if (!fileNameAndPath) {
            PLC_TRACE(TRACE_FAILURES, "%s(): parameter fileNameAndPath == NULL!", routine);
            PLC_TRACE(TRACE_FAILURES, "%s(NULL) => FALSE", routine);
          } else {
            PLC_TRACE(TRACE_FAILURES, "%s(): parameter fileNameAndPath == \"\"!", routine);
            PLC_TRACE(TRACE_FAILURES, "%s(\"\") => FALSE", routine);
          }
          return false;
        }
        FILE* file = std::fopen(fileNameAndPath, "w");
        if (!file) {
          PLC_TRACE(TRACE_FAILURES, "%s(): Couldn't dump %s to \"%s\".", routine, failureText, fileNameAndPath);
          PLC_TRACE(TRACE_FAILURES, "%s(\"%s\") => FALSE", routine, fileNameAndPath);
          return false;
        }
        const bool written = write(file) && rowWritten(file);
        const bool closed = std::fclose(file) == 0;
        if (!written || !closed) {
          PLC_TRACE(TRACE_FAILURES, "%s(): Couldn't write %s to \"%s\".", routine, failureText, fileNameAndPath);
          PLC_TRACE(TRACE_FAILURES, "%s(\"%s\") => FALSE", routine, fileNameAndPath);
          return false;
        }
        PLC_TRACE(TRACE_FAILURES, "%s(\"%s\") => TRUE", routine, fileNameAndPath);
        return true;
      });
}

int signedLiteral(uint32_t value) { return static_cast<int16_t>(static_cast<uint16_t>(value)); }

const char* mnemonicOf(uint32_t op) { return plc_opcodeMnemonic(op & 0xFFFF); }

// One line of the readable listing of the intermediate program.
void writeListingText(FILE* file, const HighLevelInstruction& in) {
  const int lit = in.literal;
  switch (in.op) {
    case OP_SET_BIT: std::fprintf(file, "set bit '%s'", in.name1); break;
    case OP_CLEAR_BIT: std::fprintf(file, "clear bit '%s'", in.name1); break;
    case OP_COPY_BIT_TO_BIT: std::fprintf(file, "let bit '%s' := '%s'", in.name1, in.name2); break;
    case OP_SET_VARIABLE_TO_LITERAL: std::fprintf(file, "let var '%s' := %d", in.name1, lit); break;
    case OP_SET_VARIABLE_TO_VARIABLE: std::fprintf(file, "let var '%s' := '%s'", in.name1, in.name2); break;
    case OP_INCREMENT_VARIABLE: std::fprintf(file, "increment '%s'", in.name1); break;
    case OP_SET_VARIABLE_ADD: std::fprintf(file, "let var '%s' := '%s' + '%s'", in.name1, in.name2, in.name3); break;
    case OP_SET_VARIABLE_SUBTRACT:
      std::fprintf(file, "let var '%s' := '%s' - '%s'", in.name1, in.name2, in.name3);
      break;
    case OP_SET_VARIABLE_MULTIPLY:
      std::fprintf(file, "let var '%s' := '%s' * '%s'", in.name1, in.name2, in.name3);
      break;
    case OP_SET_VARIABLE_DIVIDE: std::fprintf(file, "let var '%s' := '%s' / '%s'", in.name1, in.name2, in.name3); break;
    case OP_READ_ADC: std::fprintf(file, "read adc '%s'", in.name1); break;
    case OP_SET_PWM:
      std::fprintf(file, "set pwm channel '%s' duty as '%s' '%s' Hz PWM type:%s", in.name3, in.name1, in.name2,
                   static_cast<uint16_t>(in.literal) == 0 ? "FAST" : "SLOW");
      break;
    case OP_UART_SEND: std::fprintf(file, "uart send from '%s', done? into '%s'", in.name1, in.name2); break;
    case OP_UART_RECV: std::fprintf(file, "uart recv int '%s', have? into '%s'", in.name1, in.name2); break;
    case OP_EEPROM_BUSY_CHECK: std::fprintf(file, "set bit '%s' if EEPROM busy", in.name1); break;
    case OP_EEPROM_READ: std::fprintf(file, "read EEPROM[%d,%d+1] into '%s'", lit, lit, in.name1); break;
    case OP_EEPROM_WRITE: std::fprintf(file, "write '%s' into EEPROM[%d,%d+1]", in.name1, lit, lit); break;
    case OP_IF_BIT_SET: std::fprintf(file, "if '%s' {", in.name1); break;
    case OP_IF_BIT_CLEAR: std::fprintf(file, "if not '%s' {", in.name1); break;
    case OP_IF_VARIABLE_LES_LITERAL: std::fprintf(file, "if '%s' < %d {", in.name1, lit); break;
    case OP_IF_VARIABLE_EQUALS_VARIABLE: std::fprintf(file, "if '%s' == '%s' {", in.name1, in.name2); break;
    case OP_IF_VARIABLE_GRT_VARIABLE: std::fprintf(file, "if '%s' > '%s' {", in.name1, in.name2); break;
    case OP_ELSE: std::fputs("} else {", file); break;
    case OP_END_IF: std::fputs("}", file); break;
    case OP_SIMULATE_NODE_STATE: break;
    case OP_COMMENT: std::fprintf(file, "/* %s */", in.name1); break;
    case OP_END_OF_PROGRAM: std::fputs("------- end of program -------", file); break;
    default:
      std::fprintf(file, "!!!ERROR!!! Unsupported instruction ID(=%ld) for dump", static_cast<long>(in.op));
      break;
  }
}

bool opensBlock(uint32_t op) { return (op >= OP_IF_BIT_SET && op <= OP_IF_VARIABLE_GRT_VARIABLE) || op == OP_ELSE; }

}  // namespace

TOLVANE_EXPORT bool d_dumpPICcode(const char* fileNameAndPath) {
  return dump("d_dumpPICcode", "PIC code", fileNameAndPath, [](FILE* file) {
    std::fputs("label;OpID;Op;name1;name2;name3;literal", file);
    for (const BytecodeInstruction& record : PicProg) {
      std::fprintf(file, "\n\"%s\";%d;\"%s\";%u;%u;%u;%d", record.label ? record.label->name : "", record.op,
                   mnemonicOf(record.op), record.arg1, record.arg2, record.arg3, signedLiteral(record.literal));
      if (!rowWritten(file)) return false;
    }
    return true;
  });
}

TOLVANE_EXPORT bool d_dumpSymbols(const char* fileNameAndPath) {
  return dump("d_dumpSymbols", "Symbols code", fileNameAndPath, [](FILE* file) {
    std::fputs("name;addr;bit;accessed;fixed", file);
    if (!rowWritten(file)) return false;
    for (const SymbolRecord& record : Symbols) {
      std::fprintf(file, "\n\"%s\";0x%.8lX;%d;%ld;%s", record.name, static_cast<unsigned long>(record.addr),
                   static_cast<int>(record.bitID), static_cast<long>(record.accessed), plc_bool(record.fixed != 0));
      if (!rowWritten(file)) return false;
    }
    return true;
  });
}

TOLVANE_EXPORT bool d_dumpIntcode(const char* fileNameAndPath) {
  return dump("d_dumpIntcode", "PIC code", fileNameAndPath, [](FILE* file) {
    int line = 0, depth = 0;
    for (const HighLevelInstruction& in : HighLevelCode) {
      ++line;
      if (in.op == OP_END_IF || in.op == OP_ELSE) --depth;
      std::fprintf(file, "%3d:", line);
      for (int level = 0; level < depth; ++level) std::fputs("    ", file);
      writeListingText(file, in);
      if (opensBlock(in.op)) ++depth;
      std::fputs("\n", file);
      if (!rowWritten(file)) return false;
    }
    std::fputs("\n\n\n\n\n\n\n\nOpID;Op;name1;name2;name3;literal", file);
    for (const HighLevelInstruction& in : HighLevelCode) {
      std::fprintf(file, "\n%ld;\"%s\";\"%s\";\"%s\";\"%s\";%d", static_cast<long>(in.op), mnemonicOf(in.op), in.name1,
                   in.name2, in.name3, static_cast<int>(in.literal));
      if (!rowWritten(file)) return false;
    }
    return true;
  });
}
