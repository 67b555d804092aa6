#pragma once
// The intermediate program: the instructions the host hands over, one record
// each, and the table of mnemonics and operation ids.
#include <cstddef>
#include <cstdint>
#include <deque>

// Operation ids, as the byte code carries them.
enum : uint32_t {
  OP_SET_BIT = 1,
  OP_CLEAR_BIT = 2,
  OP_COPY_BIT_TO_BIT = 3,
  OP_SET_VARIABLE_TO_LITERAL = 4,
  OP_SET_VARIABLE_TO_VARIABLE = 5,
  OP_INCREMENT_VARIABLE = 6,
  OP_SET_VARIABLE_ADD = 7,
  OP_SET_VARIABLE_SUBTRACT = 8,
  OP_SET_VARIABLE_MULTIPLY = 9,
  OP_SET_VARIABLE_DIVIDE = 10,
  OP_READ_ADC = 11,
  OP_SET_PWM = 12,
  OP_UART_SEND = 13,
  OP_UART_RECV = 14,
  OP_EEPROM_BUSY_CHECK = 15,
  OP_EEPROM_READ = 16,
  OP_EEPROM_WRITE = 17,
  OP_IF_BIT_SET = 50,
  OP_IF_BIT_CLEAR = 51,
  OP_IF_VARIABLE_LES_LITERAL = 52,
  OP_IF_VARIABLE_EQUALS_VARIABLE = 53,
  OP_IF_VARIABLE_GRT_VARIABLE = 54,
  OP_ELSE = 60,
  OP_END_IF = 61,
  OP_SIMULATE_NODE_STATE = 80,
  OP_COMMENT = 100,
  OP_END_OF_PROGRAM = 255
};

constexpr int kInstructionNameSize = 128;

struct HighLevelInstruction {
  uint32_t op;
  char name1[kInstructionNameSize];
  char name2[kInstructionNameSize];
  char name3[kInstructionNameSize];
  int16_t literal;
};

extern std::deque<HighLevelInstruction> HighLevelCode;
// Cursor of the compile pass into HighLevelCode.
extern size_t HighLevelPC;

// The mnemonic of the first table row with this id; "" when no row has it.
const char* plc_opcodeMnemonic(uint32_t id);
// True when no table row has this id.
bool isInvalidOp(uint32_t id);

void WipeHighLevelCode();
