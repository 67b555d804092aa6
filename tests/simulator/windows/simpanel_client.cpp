// A client of the simulator panel as a Windows program writes one: it finds
// the panel by its class name and sends it WM_COPYDATA. The end-to-end
// tests run it under wine beside the panel. Each step of its command line
// prints one line:
//   wait <ms>                              "found" once the window exists, or ends with 2
//   send <command> <name> <value> <mode>   the answer to a well-formed request
//   sized <command> <name> <value> <bytes> the same record in a block of <bytes>
//                                          (cut short, or zeros after it), cbData <bytes>
//   unended <command> <value>              a name that fills its field without a zero byte
//   empty <command>                        no record at all (cbData 0, lpData NULL)
//   close                                  posts WM_CLOSE, as closing the window does
// A command is a ULONG_PTR, 64 bits wide in a 64-bit build: one wider than
// the build's prints "too wide" and is not sent. Answers are LRESULTs,
// printed whole.
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "simcopydata.h"

namespace {

HWND findPanel() { return FindWindowA(SIM_WINDOW_CLASS, nullptr); }

// Prints the panel's answer to one request.
void sendRecord(unsigned long long command, const void* record, DWORD size) {
  if (command > static_cast<ULONG_PTR>(-1)) {
    printf("too wide\n");
    return;
  }
  COPYDATASTRUCT request{static_cast<ULONG_PTR>(command), size, const_cast<void*>(record)};
  const LRESULT answer = SendMessageA(findPanel(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&request));
  printf("%lld\n", static_cast<long long>(answer));
}

tSIM_COPYDATA makeRecord(const char* name, int value, int mode) {
  tSIM_COPYDATA record;
  std::memset(&record, 0, sizeof(record));
  std::strncpy(record.name, name, sizeof(record.name) - 1);
  record.value = static_cast<int16_t>(value);
  record.mode = mode;
  return record;
}

// The words of the command line, one after the other; a missing one reads
// as "" or 0.
class TArguments {
 public:
  TArguments(int argc, char** argv) : argc_(argc), argv_(argv) {}
  bool more() const { return next_ < argc_; }
  std::string word() { return more() ? argv_[next_++] : ""; }
  long number() { return std::strtol(word().c_str(), nullptr, 0); }
  // Windows' long has 32 bits also in a 64-bit build.
  unsigned long long command() { return std::strtoull(word().c_str(), nullptr, 0); }

 private:
  int argc_;
  char** argv_;
  int next_ = 1;
};

}  // namespace

int main(int argc, char** argv) {
  TArguments args(argc, argv);
  while (args.more()) {
    const std::string step = args.word();
    if (step == "wait") {
      const DWORD deadline = GetTickCount() + static_cast<DWORD>(args.number());
      while (!findPanel() && static_cast<LONG>(deadline - GetTickCount()) > 0) Sleep(50);
      if (!findPanel()) return 2;
      printf("found\n");
    } else if (step == "send") {
      const unsigned long long command = args.command();
      const std::string name = args.word();
      const long value = args.number();
      const long mode = args.number();
      const tSIM_COPYDATA record = makeRecord(name.c_str(), value, mode);
      sendRecord(command, &record, sizeof(record));
    } else if (step == "sized") {
      const unsigned long long command = args.command();
      const std::string name = args.word();
      const long value = args.number();
      const tSIM_COPYDATA record = makeRecord(name.c_str(), value, 0);
      const DWORD size = static_cast<DWORD>(args.number());
      std::string block(size > sizeof(record) ? size : sizeof(record), '\0');
      std::memcpy(&block[0], &record, sizeof(record));
      sendRecord(command, block.data(), size);
    } else if (step == "unended") {
      const unsigned long long command = args.command();
      tSIM_COPYDATA record = makeRecord("", args.number(), 0);
      std::memset(record.name, 'A', sizeof(record.name));
      sendRecord(command, &record, sizeof(record));
    } else if (step == "empty") {
      sendRecord(args.command(), nullptr, 0);
    } else if (step == "close") {
      printf("%d\n", PostMessageA(findPanel(), WM_CLOSE, 0, 0) ? 1 : 0);
    } else {
      fprintf(stderr, "unknown step '%s'\n", step.c_str());
      return 1;
    }
    fflush(stdout);
  }
  return 0;
}
