// Drives the compiler library's exports with arbitrary call sequences:
// resets, settings blocks, ranges, instructions with any names and
// arguments, fixed symbols, compiles, walks, lookups, error texts and dumps.
// Every image it serves rises by one address a byte from the first and
// begins with the settings block; right after a successful compile it ends
// with a correct END_OF_PROGRAM trailer.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "fuzz_support.h"
#include "plccomp.h"

namespace {

const char* const kMnemonics[] = {"SET_BIT",
                                  "CLEAR_BIT",
                                  "COPY_BIT_TO_BIT",
                                  "SET_VARIABLE_TO_LITERAL",
                                  "SET_VARIABLE_TO_VARIABLE",
                                  "SET_VARIABLE_ADD",
                                  "SET_VARIABLE_SUBTRACT",
                                  "SET_VARIABLE_MULTIPLY",
                                  "SET_VARIABLE_DIVIDE",
                                  "INCREMENT_VARIABLE",
                                  "READ_ADC",
                                  "SET_PWM",
                                  "EEPROM_BUSY_CHECK",
                                  "EEPROM_READ",
                                  "EEPROM_WRITE",
                                  "UART_SEND",
                                  "UART_RECV",
                                  "IF_BIT_SET",
                                  "IF_BIT_CLEAR",
                                  "IF_VARIABLE_LES_LITERAL",
                                  "IF_VARIABLE_EQUALS_VARIABLE",
                                  "IF_VARIABLE_GRT_VARIABLE",
                                  "END_IF",
                                  "ELSE",
                                  "SIMULATE_NODE_STATE",
                                  "COMMENT",
                                  "END_OF_PROGRAM"};
const char* const kNames[] = {"a", "b", "c", "in1", "out1", "1_0", "lbl_1_0", "ram_int_a"};
const char* const kTypes[] = {"INT", "BIT", "BYTE", "LABEL", "int", ""};
const int kResetLevels[] = {0, 1, 2, 3, 254, 255};

constexpr uint32_t kSettingsCapacity = 102400;
constexpr size_t kImageLimit = 64 * 1024 * 1024;

std::string dumpPath;

// A text argument: NULL, one of a few names, or bytes of the input.
class TTexts {
 public:
  explicit TTexts(TFuzzInput& in) : in_(in) {}
  const char* next(const char* const* pool, size_t poolSize) {
    const uint8_t kind = in_.byte() % 4;
    if (kind == 0) return nullptr;
    if (kind == 1) return pool[in_.below(poolSize)];
    held_.push_back(in_.text(kind == 2 ? 16 : 400));
    return held_.back().c_str();
  }

 private:
  TFuzzInput& in_;
  std::deque<std::string> held_;  // grows without moving the texts handed out
};

uint16_t crc16(uint16_t crc, uint8_t byte) {
  for (int bit = 7; bit >= 0; --bit) {
    const bool top = (crc & 0x8000) != 0;
    crc = static_cast<uint16_t>(crc << 1);
    if (((byte >> bit) & 1) != top) crc ^= 0x4163;
  }
  return crc;
}

uint16_t wordAt(const std::vector<uint8_t>& image, size_t at) {
  return static_cast<uint16_t>(image[at] | image[at + 1] << 8);
}

// Walks the image; checks what holds for every image served and, right after
// a compile, the trailer.
void checkImage(const std::vector<uint8_t>& settings, bool compiled) {
  std::vector<uint8_t> image;
  if (!GetFirstByte()) {
    if (compiled) fuzz_fail("a successful compile leaves an image");
    return;
  }
  uint64_t expected = GetCurrentByteAddress();
  do {
    if (GetCurrentByteAddress() != expected) fuzz_fail("addresses rise by one a byte, without wrapping");
    ++expected;
    image.push_back(GetCurrentByteData());
    if (image.size() > kImageLimit) fuzz_fail("the image ends");
  } while (GetNextByte());
  if (GetNextByte()) fuzz_fail("the stream stays at its end");

  if (image.size() < settings.size() + 10 || (image.size() - settings.size()) % 10 != 0)
    fuzz_fail("the settings block and whole records");
  if (!std::equal(settings.begin(), settings.end(), image.begin())) fuzz_fail("the image begins with the block");
  if (!compiled) return;

  const size_t end = image.size() - 10;
  const uint32_t words = static_cast<uint32_t>((end + 6) / 2);
  if (wordAt(image, end) != 0x00FF) fuzz_fail("the last record is END_OF_PROGRAM");
  if ((wordAt(image, end + 2) | static_cast<uint32_t>(wordAt(image, end + 4)) << 16) != words)
    fuzz_fail("the trailer counts the words up to itself");
  if (wordAt(image, end + 6) != 0x4163) fuzz_fail("the trailer names the polynomial");
  uint16_t crc = 0;
  for (uint32_t w = 0; w < words; ++w) {
    crc = crc16(crc, image[2 * w + 1]);
    crc = crc16(crc, image[2 * w]);
  }
  if (wordAt(image, end + 8) != (crc ^ 0x8283)) fuzz_fail("the trailer's CRC");
}

void walkSymbols(TFuzzInput& in) {
  for (bool more = in.flag() ? GetFirstSymbol() : GetNextSymbol(); more; more = GetNextSymbol()) {
    const std::string type = GetCurrentSymbolType();
    if (type != "INT" && type != "BIT" && type != "BYTE" && type != "LABEL" && type != "????")
      fuzz_fail("a symbol type of the five");
    (void)std::strlen(GetCurrentSymbolName());
    (void)GetCurrentSymbolAddr();
    (void)GetCurrentSymbolBitID();
    (void)GetCurrentSymbolAccess();
    (void)IsCurrentSymbolFixed();
    if (in.below(8) == 0) break;
  }
}

void readErrorText(TFuzzInput& in) {
  const uint32_t size = in.flag() ? in.below(8) : in.u16() % 6000;
  std::vector<char> buffer(size == 0 ? 1 : size, '\x7f');
  const bool none = in.below(8) == 0;
  const uint32_t length = GetLastErrorMsg(none ? nullptr : buffer.data(), size);
  if (length > 4999) fuzz_fail("the error text holds at most 4999 characters");
  if (none || size == 0) return;
  const size_t copied = length < size ? length : size - 1;
  if (buffer[copied] != '\0' || std::strlen(buffer.data()) != copied) fuzz_fail("the copy is cut and terminated");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_silenceStdout();
  dumpPath = fuzz_tempPath("dump.csv");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TFuzzInput in(data, size);
  TTexts texts(in);
  // The library's state lasts the process: every input starts from a total
  // reset with an empty block and the ranges it has at load.
  ResetCompiler(COMPILER_RESET_LEVEL_TOTAL);
  SetCompilerSetting(nullptr, 0);
  AddFreeRAMRange(0, 0xFFFF);
  AddFreeFLASHRange(0, 0xFFFF);
  std::vector<uint8_t> settings;
  bool compiled = false;

  while (!in.empty()) {
    switch (in.byte() % 16) {
      case 0: {
        int level = in.flag() ? kResetLevels[in.below(6)] : static_cast<int>(in.u32());
        if ((level & 0xFF) == 3 && in.flag()) level = 3 | (in.u16() << 8);
        ResetCompiler(level);
        std::fill(settings.begin(), settings.end(), 0);  // every level zeroes the block's bytes
        compiled = false;
        break;
      }
      case 1: {
        static uint8_t block[kSettingsCapacity + 2];
        // Mostly small blocks: a walk of a large one is long and finds little more.
        static const uint32_t edges[] = {0, 1, 208, kSettingsCapacity - 1, kSettingsCapacity, kSettingsCapacity + 1};
        uint32_t length = 0;
        switch (in.below(8)) {
          case 0: length = in.pick(edges); break;
          case 1: length = in.u16() % 2048; break;
          case 2: length = in.u32(); break;
          default: length = static_cast<uint32_t>(in.below(32) * 2); break;
        }
        const std::vector<uint8_t> given = in.bytes(length < 512 ? length : 512);
        const size_t filled = length < sizeof block ? length : sizeof block;
        for (size_t i = 0; i < filled; ++i) block[i] = given.empty() ? 0 : given[i % given.size()];
        const bool none = in.below(16) == 0;
        if (SetCompilerSetting(none ? nullptr : block, length)) {
          settings.assign(block, block + (none ? 0 : length));
          compiled = false;
        }
        break;
      }
      case 2: {
        // Arguments are read in order, one statement each.
        const uint32_t intLimit = in.flag() ? in.below(8) : in.u32();
        const uint32_t bitLimit = in.flag() ? in.below(8) : in.u32();
        AddFreeRAMRange(intLimit, bitLimit);
        break;
      }
      case 3: {
        const uint32_t start = in.flag() ? in.u16() : in.u32();
        AddFreeFLASHRange(start, in.u32());
        compiled = false;  // the image moves; from near the top it is no longer served
        break;
      }
      case 4: {
        const uint32_t start = in.u32();
        AddFreeEEPROMRange(start, in.u32());
        break;
      }
      case 5:
      case 6:
      case 7: {
        const char* inst = in.below(16) == 0 ? texts.next(kMnemonics, 27) : kMnemonics[in.below(27)];
        const char* arg1 = texts.next(kNames, 8);
        const char* arg2 = texts.next(kNames, 8);
        const char* arg3 = texts.next(kNames, 8);
        const short literal = static_cast<short>(in.flag() ? in.below(4) : in.u16());
        AddHighLevelInstruction(inst, arg1, arg2, arg3, literal);
        break;
      }
      case 8: {
        const char* name = texts.next(kNames, 8);
        const char* type = texts.next(kTypes, 6);
        // Mostly values that fit the records' 16-bit fields, which alone are taken.
        const uint32_t addr = in.flag() ? in.u16() : in.u32();
        const uint32_t bit = in.flag() ? in.u16() : in.u32();
        if (AddFixSymbol(name, type, addr, bit) && (addr > 0xFFFF || bit > 0xFFFF))
          fuzz_fail("a fixed symbol's address and bit fit 16 bits");
        break;
      }
      case 9:
      case 10: {
        compiled = StartCompile() == EXITCODE_NO_ERROR;
        if (compiled) checkImage(settings, true);
        break;
      }
      case 11: checkImage(settings, compiled); break;
      case 12:
        // Single steps between other calls.
        switch (in.below(4)) {
          case 0: GetFirstByte(); break;
          case 1: GetNextByte(); break;
          case 2: GetCurrentByteData(); break;
          default: GetCurrentByteAddress(); break;
        }
        GetFirstCodeLine();
        break;
      case 13:
        if (in.flag()) {
          const char* name = texts.next(kNames, 8);
          GetSymbolByName(name, texts.next(kTypes, 6));
        } else {
          GetSymbolByInternalName(texts.next(kNames, 8));
        }
        walkSymbols(in);
        break;
      case 14: readErrorText(in); break;
      default: {
        const char* const paths[] = {dumpPath.c_str(), nullptr, "", "no such folder/dump.csv", "/dev/full"};
        const size_t pick = in.below(5);
        const char* path = paths[pick];
        bool written;
        switch (in.below(3)) {
          case 0: written = d_dumpPICcode(path); break;
          case 1: written = d_dumpSymbols(path); break;
          default: written = d_dumpIntcode(path); break;
        }
        if (written && pick == 4) fuzz_fail("a dump that cannot be written answers false");
        break;
      }
    }
  }
  return 0;
}
