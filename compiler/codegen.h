#pragma once
// Byte-code generation: one pass over the intermediate program lowers it into
// 10-byte records with numeric operands and jump targets.
#include <cstdint>
#include <vector>

#include "symbols.h"

struct BytecodeInstruction {
  uint16_t op;
  uint16_t arg1;
  uint16_t arg2;
  uint16_t arg3;
  uint16_t literal;
  SymbolRecord* label;  // the code label marking this record; not part of the image
};

constexpr int kRecordImageSize = 10;
// The largest value of a record's 16-bit field: an operand address or a jump
// target (a record index) above it would be cut to its low bits.
constexpr uint32_t kRecordFieldMax = 0xFFFF;

extern std::vector<BytecodeInstruction> PicProg;
// Goes up whenever PicProg is emptied, so that a reader positioned in an
// earlier list can tell.
extern uint64_t plc_picProgGeneration;

// Flags for op ids 80 to 100: 0 for SIMULATE_NODE_STATE and COMMENT.
extern const uint8_t ExecutableOpTable[21];
bool plc_isExecutableOp(uint32_t op);

// The record's image form: op, arg1, arg2, arg3, literal, little-endian.
void plc_recordImage(const BytecodeInstruction& record, unsigned char image[kRecordImageSize]);

void WipeCodeMemory();
// One pass over HighLevelCode into PicProg; StartCompile runs it with
// outermost true. Blocks nest as deep as memory allows: their bodies are
// compiled without recursion, traced as CompileIfBody.
void CompileFromIntermediate(bool outermost);
