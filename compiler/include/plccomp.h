#pragma once
// The compiler library's host interface: plain C functions under their
// undecorated names. A host resets the compiler, hands over the settings
// block, the free ranges, fixed symbols and the instructions, compiles, then
// reads the image through the stream reader routines and the symbol table
// through the walk.
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#else
#include <stdbool.h>
#endif

// Reset levels for ResetCompiler (low byte of its argument). With level 3,
// bits 8 to 23 of the argument carry the trace mask to use afterwards.
enum {
  COMPILER_RESET_LEVEL_TOTAL = 0,
  COMPILER_RESET_LEVEL_DEBUG = 1,
  COMPILER_RESET_LEVEL_TRACE = 2,
  COMPILER_RESET_LEVEL_TRACE_MASK = 3,
  COMPILER_RESET_LEVEL_COMPILER_SETTINGS_ONLY = 254,
  COMPILER_RESET_LEVEL_TRACE_FULL = 255
};

// Exit codes of StartCompile besides the error codes it passes on.
enum { EXITCODE_NO_ERROR = 0 };

// Configuration and error text.
void ResetCompiler(int level);
// Stores the settings block, which the image carries ahead of the byte code.
// Refused (false, the block stored before stays): a length above 102400; with
// data, an odd length, since the byte code must start on a word boundary: the
// reason is left for GetLastErrorMsg.
bool SetCompilerSetting(const unsigned char* data, uint32_t length);
// The number of INT and of BIT variables a compile may number. Operands are
// 16-bit fields: a compile numbers at most 65536 of each kind (indices 0 to
// 65535) whatever the limits, and past that ends with code 5.
void AddFreeRAMRange(uint32_t intLimit, uint32_t bitLimit);
void AddFreeFLASHRange(uint32_t start, uint32_t end);
void AddFreeEEPROMRange(uint32_t start, uint32_t end);
uint32_t GetLastErrorMsg(char* dstBuf, uint32_t size);

// Program intake and fixed symbols.
bool AddHighLevelInstruction(const char* inst, const char* arg1, const char* arg2, const char* arg3, short literal);
// A variable at the host's address: addr and bit must fit 16 bits, or the
// symbol is refused with a message.
bool AddFixSymbol(const char* name, const char* symType, uint32_t addr, uint32_t bit);

// Compile: 0, or the code of the error that ended it, with its text for
// GetLastErrorMsg. Jump targets are 16-bit record indices: a program with a
// label past record 65535 ends with code 1.
int32_t StartCompile(void);

// The image, byte by byte, in ascending address order.
bool GetFirstByte(void);
bool GetNextByte(void);
uint32_t GetCurrentByteAddress(void);
uint8_t GetCurrentByteData(void);
bool GetFirstCodeLine(void);

// The symbol table: lookups, walk and the record under the cursor.
bool GetSymbolByName(const char* name, const char* type);
bool GetSymbolByInternalName(const char* name);
bool GetFirstSymbol(void);
bool GetNextSymbol(void);
const char* GetCurrentSymbolName(void);
const char* GetCurrentSymbolType(void);
uint32_t GetCurrentSymbolAddr(void);
uint32_t GetCurrentSymbolBitID(void);
int32_t GetCurrentSymbolAccess(void);
bool IsCurrentSymbolFixed(void);

// CSV dumps of the byte code, the symbol table and the instruction list:
// true when the file was written and closed, false when it could not be
// opened or a row or the close failed. No error text is left.
bool d_dumpPICcode(const char* fileNameAndPath);
bool d_dumpSymbols(const char* fileNameAndPath);
bool d_dumpIntcode(const char* fileNameAndPath);

#ifdef __cplusplus
}
#endif
