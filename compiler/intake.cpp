// Instruction intake: checks each instruction against the form of its
// operation and appends it to the intermediate program.
#include "intake.h"

#include <cstring>

#include "errorframe.h"
#include "include/plccomp.h"
#include "nullstrings.h"
#include "tolvane_export.h"

std::deque<HighLevelInstruction> HighLevelCode;
size_t HighLevelPC = 0;

namespace {

// Names by argument number: bit 0 is arg1, bit 1 arg2, bit 2 arg3.
enum : unsigned { A1 = 1, A2 = 2, A3 = 4, NONE = 0, ALL = A1 | A2 | A3 };

struct TOpcodeName {
  const char* mnemonic;
  uint32_t id;
  unsigned required;     // names of 1 to 127 characters
  unsigned mustBeEmpty;  // names of length 0 (NULL counts as empty)
  bool literalMustBeZero;
  bool namesStored;  // false: names are neither checked nor kept
};

// Row order is the search order, for mnemonics and for ids alike.
const TOpcodeName OpcodeNameTable[] = {
    {"SET_BIT", OP_SET_BIT, A1, A2 | A3, false, true},
    {"CLEAR_BIT", OP_CLEAR_BIT, A1, A2 | A3, false, true},
    {"COPY_BIT_TO_BIT", OP_COPY_BIT_TO_BIT, A1 | A2, A3, false, true},
    {"SET_VARIABLE_TO_LITERAL", OP_SET_VARIABLE_TO_LITERAL, A1, A2 | A3, false, true},
    {"SET_VARIABLE_TO_VARIABLE", OP_SET_VARIABLE_TO_VARIABLE, A1 | A2, A3, true, true},
    {"SET_VARIABLE_ADD", OP_SET_VARIABLE_ADD, ALL, NONE, true, true},
    {"SET_VARIABLE_SUBTRACT", OP_SET_VARIABLE_SUBTRACT, ALL, NONE, true, true},
    {"SET_VARIABLE_MULTIPLY", OP_SET_VARIABLE_MULTIPLY, ALL, NONE, true, true},
    {"SET_VARIABLE_DIVIDE", OP_SET_VARIABLE_DIVIDE, ALL, NONE, true, true},
    {"INCREMENT_VARIABLE", OP_INCREMENT_VARIABLE, A1, A2 | A3, true, true},
    {"READ_ADC", OP_READ_ADC, A1, A2 | A3, false, true},
    {"SET_PWM", OP_SET_PWM, ALL, NONE, false, true},
    {"EEPROM_BUSY_CHECK", OP_EEPROM_BUSY_CHECK, A1, A2 | A3, true, true},
    {"EEPROM_READ", OP_EEPROM_READ, A1, A2 | A3, false, true},
    {"EEPROM_WRITE", OP_EEPROM_WRITE, A1, A2 | A3, false, true},
    {"UART_SEND", OP_UART_SEND, A1 | A2, A3, false, true},
    {"UART_RECV", OP_UART_RECV, A1 | A2, A3, false, true},
    {"IF_BIT_SET", OP_IF_BIT_SET, A1, A2 | A3, false, true},
    {"IF_BIT_CLEAR", OP_IF_BIT_CLEAR, A1, A2 | A3, false, true},
    {"IF_VARIABLE_LES_LITERAL", OP_IF_VARIABLE_LES_LITERAL, A1, A2 | A3, false, true},
    {"IF_VARIABLE_EQUALS_VARIABLE", OP_IF_VARIABLE_EQUALS_VARIABLE, A1 | A2, A3, true, true},
    {"IF_VARIABLE_GRT_VARIABLE", OP_IF_VARIABLE_GRT_VARIABLE, A1 | A2, A3, true, true},
    {"END_IF", OP_END_IF, NONE, ALL, true, true},
    {"ELSE", OP_ELSE, NONE, ALL, true, true},
    {"SIMULATE_NODE_STATE", OP_SIMULATE_NODE_STATE, NONE, NONE, false, false},
    {"COMMENT", OP_COMMENT, NONE, NONE, true, false},
    {"END_OF_PROGRAM", OP_END_OF_PROGRAM, NONE, ALL, false, true},
};

const TOpcodeName* findById(uint32_t id) {
  for (const TOpcodeName& row : OpcodeNameTable)
    if (row.id == id) return &row;
  return nullptr;
}

const TOpcodeName* findByMnemonic(const char* inst) {
  for (const TOpcodeName& row : OpcodeNameTable)
    if (std::strcmp(row.mnemonic, inst) == 0) return &row;
  return nullptr;
}

char* nameField(HighLevelInstruction& record, int arg) {
  return arg == 1 ? record.name1 : arg == 2 ? record.name2 : record.name3;
}

// Checks one call; fills record when it is accepted. A refusal leaves its
// text in lastErrorMsg and its debug and trace lines.
bool acceptInstruction(const char* inst, const char* const args[4], short literal, HighLevelInstruction& record) {
  const unsigned instLength = strlennull(inst);
  if (!inst) {
    plc_setLastError("AddHighLevelInstruction", "Unrecognized mnemonic '%s'", "<NULL>");
    dbp("AddHighLevelInstruction(): NULL pointer detected. (1)");
    PLC_TRACE(TRACE_FAILURES, "AddHighLevelInstruction(): parameter 'inst' == NULL!");
    return false;
  }
  if (instLength == 0) {
    plc_setLastError("AddHighLevelInstruction", "Unrecognized mnemonic '%s'", "");
    dbp("AddHighLevelInstruction(): Parameter 'inst' is zero length");
    return false;
  }
  std::memset(&record, 0, sizeof record);
  const TOpcodeName* row = findByMnemonic(inst);
  if (!row) {
    plc_setLastError("AddHighLevelInstruction", "Unrecognized mnemonic '%s'", inst);
    dbp("AddHighLevelInstruction(): \"%s\" not recognized as High Level Instruction", inst);
    return false;
  }
  PLC_TRACE(TRACE_FLOW, "AddHighLevelInstruction(): 'inst'(=\"%s\") recognized as INT_%s(=%d)", inst, row->mnemonic,
            static_cast<int>(row->id));
  record.op = row->id;

  for (int arg = 3; arg >= 1; --arg) {
    if (!(row->required & (1u << (arg - 1)))) continue;
    const char* name = args[arg];
    const unsigned length = strlennull(name);
    if (!name) {
      plc_setLastError("AddHighLevelInstruction", "Mnemonic '%s', argument%d error", inst, arg);
      dbp("AddHighLevelInstruction(): NULL pointer detected. (%d)", arg + 1);
      PLC_TRACE(TRACE_FAILURES, "AddHighLevelInstruction(): parameter 'arg%d' == NULL!", arg);
      return false;
    }
    if (length < 1 || length >= static_cast<unsigned>(kInstructionNameSize)) {
      plc_setLastError("AddHighLevelInstruction", "Mnemonic '%s', argument%d error", inst, arg);
      dbp("AddHighLevelInstruction(): Parameter 'arg%d' invalid length(%d)", arg, static_cast<int>(length));
      return false;
    }
    std::memcpy(nameField(record, arg), name, length + 1);
  }

  for (int arg = 1; arg <= 3; ++arg) {
    if (!(row->mustBeEmpty & (1u << (arg - 1)))) continue;
    const char* name = args[arg];
    const unsigned length = strlennull(name);
    if (length != 0) {
      plc_setLastError("AddHighLevelInstruction", "Mnemonic '%s', argument%d error", inst, arg);
      dbp("AddHighLevelInstruction(): Parameter 'arg%d' invalid length(%d)", arg, static_cast<int>(length));
      PLC_TRACE(TRACE_FAILURES, "AddHighLevelInstruction(): Parameter 'arg%d'(=\"%s\") invalid length: min=0, max=0",
                arg, name);
      return false;
    }
  }

  if (row->literalMustBeZero && literal != 0) {
    plc_setLastError("AddHighLevelInstruction", "Mnemonic '%s', argument%d error", inst, 4);
    dbp("AddHighLevelInstruction(): Parameter 'literal' should be zero for '%s'", inst);
    PLC_TRACE(TRACE_FAILURES, "AddHighLevelInstruction(): Parameter 'literal'(=%d) invalid value: min=0, max=0",
              literal);
    return false;
  }
  record.literal = literal;
  return true;
}

}  // namespace

const char* plc_opcodeMnemonic(uint32_t id) {
  const TOpcodeName* row = findById(id);
  return row ? row->mnemonic : "";
}

bool isInvalidOp(uint32_t id) {
  PLC_TRACE(TRACE_FLOW, "isInvalidOp(%u):", id);
  const bool invalid = findById(id) == nullptr;
  PLC_TRACE(TRACE_FLOW, "isInvalidOp(%u) => %s", id, plc_bool(invalid));
  return invalid;
}

void WipeHighLevelCode() {
  PLC_TRACE(TRACE_FLOW, "WipeHighLevelCode():");
  std::deque<HighLevelInstruction>().swap(HighLevelCode);
  HighLevelPC = 0;
  PLC_TRACE(TRACE_FLOW, "WipeHighLevelCode() => void");
}

TOLVANE_EXPORT bool AddHighLevelInstruction(const char* inst, const char* arg1, const char* arg2, const char* arg3,
                                            short literal) {
  PLC_TRACE(TRACE_FLOW, "AddHighLevelInstruction(%s%s%s, %s%s%s, %s%s%s, %s%s%s, %d):", PLC_Q(inst), PLC_Q(arg1),
            PLC_Q(arg2), PLC_Q(arg3), literal);
  return plc_frame(
      false,
      [](int code) { PLC_TRACE(TRACE_FAILURES, "AddHighLevelInstruction() Exiting due to oops(%d) => FALSE", code); },
      [&] {
        const char* const args[4] = {nullptr, arg1, arg2, arg3};
        HighLevelInstruction record;
        if (!acceptInstruction(inst, args, literal, record)) {
          PLC_TRACE(TRACE_FAILURES, "AddHighLevelInstruction(%s%s%s, %s%s%s, %s%s%s, %s%s%s, %d) => FALSE", PLC_Q(inst),
                    PLC_Q(arg1), PLC_Q(arg2), PLC_Q(arg3), literal);
          return false;
        }
        HighLevelCode.push_back(record);
        PLC_TRACE(TRACE_FLOW, "AddHighLevelInstruction(%s%s%s, %s%s%s, %s%s%s, %s%s%s, %d) => TRUE", PLC_Q(inst),
                  PLC_Q(arg1), PLC_Q(arg2), PLC_Q(arg3), literal);
        return true;
      });
}
