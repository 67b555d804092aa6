#include "codegen.h"

#include "errorframe.h"
#include "intake.h"

std::vector<BytecodeInstruction> PicProg;
uint64_t plc_picProgGeneration = 1;

const uint8_t ExecutableOpTable[21] = {0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0};

namespace {

int if_nest_counter = 0;
unsigned label_counter = 0;

// Label roles within a block.
enum : unsigned { LABEL_IF = 0, LABEL_ELSE_OR_END = 1, LABEL_END_AFTER_ELSE = 2 };

enum TOperand : uint8_t { NONE, BIT, INT };

struct TLowering {
  uint32_t op;
  TOperand operand[3];
  bool carriesLiteral;
};

// How each operation's names become operands. IF operations get their jump
// target and label besides; ELSE, END_IF and END_OF_PROGRAM are built apart.
const TLowering kLoweringTable[] = {
    {OP_SET_BIT, {BIT, NONE, NONE}, true},
    {OP_CLEAR_BIT, {BIT, NONE, NONE}, true},
    {OP_COPY_BIT_TO_BIT, {BIT, BIT, NONE}, true},
    {OP_SET_VARIABLE_TO_LITERAL, {INT, NONE, NONE}, true},
    {OP_SET_VARIABLE_TO_VARIABLE, {INT, INT, NONE}, false},
    {OP_INCREMENT_VARIABLE, {INT, NONE, NONE}, false},
    {OP_SET_VARIABLE_ADD, {INT, INT, INT}, false},
    {OP_SET_VARIABLE_SUBTRACT, {INT, INT, INT}, false},
    {OP_SET_VARIABLE_MULTIPLY, {INT, INT, INT}, false},
    {OP_SET_VARIABLE_DIVIDE, {INT, INT, INT}, false},
    {OP_READ_ADC, {INT, NONE, NONE}, true},
    {OP_SET_PWM, {INT, INT, INT}, false},
    {OP_UART_SEND, {INT, BIT, NONE}, true},
    {OP_UART_RECV, {INT, BIT, NONE}, true},
    {OP_IF_BIT_SET, {BIT, NONE, NONE}, true},
    {OP_IF_BIT_CLEAR, {BIT, NONE, NONE}, true},
    {OP_IF_VARIABLE_LES_LITERAL, {INT, NONE, NONE}, true},
    {OP_IF_VARIABLE_EQUALS_VARIABLE, {INT, INT, NONE}, false},
    {OP_IF_VARIABLE_GRT_VARIABLE, {INT, INT, NONE}, false},
};

const TLowering* findLowering(uint32_t op) {
  for (const TLowering& row : kLoweringTable)
    if (row.op == op) return &row;
  return nullptr;
}

bool isIf(uint32_t op) { return op >= OP_IF_BIT_SET && op <= OP_IF_VARIABLE_GRT_VARIABLE; }

[[noreturn]] void failPass(bool outermost, const char* text) {
  PLC_TRACE(TRACE_FAILURES, "CompileFromIntermediate(%s) => AbortCompile", plc_bool(outermost));
  AbortCompile(ERROR_COMPILE, "%s", text);
}

[[noreturn]] void failBlock(int block, const char* text) {
  PLC_TRACE(TRACE_FAILURES, "CompileIfBody(%d) => AbortCompile", block);
  AbortCompile(ERROR_COMPILE, "%s", text);
}

// Operand names are referenced in the order name1, name2, name3, which is the
// order in which new symbols enter the table.
BytecodeInstruction lower(const HighLevelInstruction& instruction, const TLowering& row, bool outermost) {
  BytecodeInstruction record{};
  record.op = static_cast<uint16_t>(instruction.op);
  const char* names[3] = {instruction.name1, instruction.name2, instruction.name3};
  uint16_t* args[3] = {&record.arg1, &record.arg2, &record.arg3};
  for (int i = 0; i < 3; ++i) {
    if (row.operand[i] == NONE) continue;
    if (names[i][0] == '\0') {
      PLC_TRACE(TRACE_FAILURES, "CompileFromIntermediate(%s) => ErrorAbort", plc_bool(outermost));
      PLC_ERROR_ABORT(ERROR_INTERNAL);
    }
    const SymbolRecord& symbol = row.operand[i] == BIT ? AddRAMBitSymbol(names[i]) : AddRAMIntegerSymbol(names[i]);
    *args[i] = static_cast<uint16_t>(symbol.addr);
  }
  if (row.carriesLiteral) record.literal = static_cast<uint16_t>(instruction.literal);
  return record;
}

BytecodeInstruction blockRecord(uint16_t op, SymbolRecord& label) {
  BytecodeInstruction record{};
  record.op = op;
  record.label = &label;
  return record;
}

}  // namespace

bool plc_isExecutableOp(uint32_t op) {
  return op < OP_SIMULATE_NODE_STATE || op > OP_COMMENT || ExecutableOpTable[op - OP_SIMULATE_NODE_STATE] != 0;
}

void plc_recordImage(const BytecodeInstruction& record, unsigned char image[kRecordImageSize]) {
  const uint16_t fields[5] = {record.op, record.arg1, record.arg2, record.arg3, record.literal};
  for (int i = 0; i < 5; ++i) {
    image[2 * i] = static_cast<unsigned char>(fields[i] & 0xFF);
    image[2 * i + 1] = static_cast<unsigned char>(fields[i] >> 8);
  }
}

void WipeCodeMemory() {
  PLC_TRACE(TRACE_FLOW, "WipeCodeMemory():");
  std::vector<BytecodeInstruction>().swap(PicProg);
  ++plc_picProgGeneration;
  PLC_TRACE(TRACE_FLOW, "WipeCodeMemory() => void");
}

namespace {

// A block whose bodies are being compiled: what a call of CompileIfBody would
// hold on the call stack. Blocks live on a stack of their own, so that the
// nesting depth is bounded by memory and not by the thread's stack.
struct TOpenBlock {
  int block;
  bool inElse;  // its ELSE body, not its IF body, is being compiled
};

void beginPass(bool outermost) {
  PLC_TRACE(TRACE_FAILURES, "CompileFromIntermediate(%s):", plc_bool(outermost));
  if (outermost) {
    HighLevelPC = 0;
    if_nest_counter = 0;
    label_counter = 0;
  }
  if (HighLevelPC >= HighLevelCode.size()) failPass(outermost, "Early termination of program");
}

// Closes the pass: the END record, then the nesting check. A body pass ends
// here only when its block's END_IF is missing.
void endPass(bool outermost, bool blockOpen) {
  BytecodeInstruction end{};
  end.op = OP_END_OF_PROGRAM;
  PicProg.push_back(end);
  if (if_nest_counter != 0 || blockOpen) {
    PLC_TRACE(TRACE_FAILURES, "CompileFromIntermediate(): local variable 'if_nest_counter'(=%d) nonzero",
              if_nest_counter);
    failPass(outermost, if_nest_counter < 0 && !blockOpen ? "END_IF without IF_xxxxx!" : "IF_xxxxx without END_IF!");
  }
  PLC_TRACE(TRACE_FAILURES, "CompileFromIntermediate(%s) => void", plc_bool(outermost));
}

// The IF record is appended and the cursor stands on the IF: steps into the
// IF body.
void openBlock(int block) {
  PLC_TRACE(TRACE_FAILURES, "CompileIfBody(%d):", block);
  ++HighLevelPC;
  if (HighLevelPC >= HighLevelCode.size()) failBlock(block, "IF is the last instruction. Needed END_IF");
}

// A body of `open` ended on the ELSE or END_IF under the cursor. Gives true
// when the ELSE body begins, false when the block is closed and the cursor
// stands past its END_IF.
bool bodyEnded(TOpenBlock& open) {
  const bool atElse = HighLevelCode[HighLevelPC].op == OP_ELSE;
  if (atElse && !open.inElse) {
    BytecodeInstruction elseRecord = blockRecord(OP_ELSE, AddCodeLabelSymbol(open.block, LABEL_ELSE_OR_END));
    elseRecord.arg3 = static_cast<uint16_t>(AddCodeLabelSymbol(open.block, LABEL_END_AFTER_ELSE).addr);
    PicProg.push_back(elseRecord);
    ++HighLevelPC;
    if (HighLevelPC >= HighLevelCode.size()) failBlock(open.block, "Premature end of code. Needed END_IF");
    open.inElse = true;
    return true;
  }
  if (atElse) failBlock(open.block, "Second ELSE in one IF_xxxxx block!");
  const unsigned endRole = open.inElse ? LABEL_END_AFTER_ELSE : LABEL_ELSE_OR_END;
  PicProg.push_back(blockRecord(OP_END_IF, AddCodeLabelSymbol(open.block, endRole)));
  PLC_TRACE(TRACE_FAILURES, "CompileIfBody(%d) => void", open.block);
  ++HighLevelPC;
  return false;
}

}  // namespace

// Each IF opens a block and a body pass; each ELSE or END_IF ends the
// innermost body pass and goes on with its block. With outermost false the
// call is itself a body pass and returns on the ELSE or END_IF that ends it.
void CompileFromIntermediate(bool outermost) {
  std::vector<TOpenBlock> open;
  beginPass(outermost);
  for (;;) {
    const bool passOutermost = outermost && open.empty();
    if (HighLevelPC < HighLevelCode.size()) {
      const HighLevelInstruction& instruction = HighLevelCode[HighLevelPC];
      const uint32_t op = instruction.op;
      if (op == OP_SIMULATE_NODE_STATE || op == OP_COMMENT) {
        ++HighLevelPC;
        continue;
      }
      if (op == OP_ELSE || op == OP_END_IF) {
        // An ELSE or END_IF ends the body of an open block; at the outermost
        // level no block is open, and going on past an ELSE would end the
        // pass without its END record.
        if (op == OP_END_IF) --if_nest_counter;
        if (passOutermost) failPass(true, op == OP_ELSE ? "ELSE without IF_xxxxx!" : "END_IF without IF_xxxxx!");
        if (open.empty()) return;
        if (bodyEnded(open.back()))
          beginPass(false);
        else
          open.pop_back();
        continue;
      }
      if (op != OP_END_OF_PROGRAM) {
        const TLowering* row = findLowering(op);
        if (!row) AbortCompile(ERROR_COMPILE, "Unsupported op (anything ADC, PWM, UART, EEPROM) for bytecode target.");
        BytecodeInstruction record = lower(instruction, *row, passOutermost);
        if (!isIf(op)) {
          PicProg.push_back(record);
          ++HighLevelPC;
          continue;
        }
        ++label_counter;
        ++if_nest_counter;
        const int block = static_cast<int>(label_counter);
        record.label = &AddCodeLabelSymbol(label_counter, LABEL_IF);
        record.arg3 = static_cast<uint16_t>(AddCodeLabelSymbol(label_counter, LABEL_ELSE_OR_END).addr);
        PicProg.push_back(record);
        openBlock(block);
        open.push_back({block, false});
        beginPass(false);
        continue;
      }
    }
    // The end of the list or END_OF_PROGRAM: later instructions are never read.
    endPass(passOutermost, !open.empty());
    return;
  }
}
