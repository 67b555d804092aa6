// A client of the simulator panel as a Windows program writes one: it finds
// the panel by its class name and sends it WM_COPYDATA. The end-to-end
// tests run it under wine beside the panel. Each step of its command line
// prints one line:
//   wait <ms>                              "found" once the window exists, or ends with 2
//   send <command> <name> <value> <mode>   the answer to a well-formed request
//   short <command> <name> <value> <bytes> the same record, with cbData <bytes>
//   unended <command> <value>              a name that fills its field without a zero byte
//   empty <command>                        no record at all (cbData 0, lpData NULL)
//   close                                  posts WM_CLOSE, as closing the window does
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "simcopydata.h"

namespace {

HWND findPanel() { return FindWindowA(SIM_WINDOW_CLASS, nullptr); }

long sendRecord(ULONG_PTR command, const void* record, DWORD size) {
  COPYDATASTRUCT request{command, size, const_cast<void*>(record)};
  return static_cast<long>(SendMessageA(findPanel(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&request)));
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
      const long command = args.number();
      const std::string name = args.word();
      const long value = args.number();
      const long mode = args.number();
      const tSIM_COPYDATA record = makeRecord(name.c_str(), value, mode);
      printf("%ld\n", sendRecord(command, &record, sizeof(record)));
    } else if (step == "short") {
      const long command = args.number();
      const std::string name = args.word();
      const long value = args.number();
      const tSIM_COPYDATA record = makeRecord(name.c_str(), value, 0);
      printf("%ld\n", sendRecord(command, &record, static_cast<DWORD>(args.number())));
    } else if (step == "unended") {
      const long command = args.number();
      tSIM_COPYDATA record = makeRecord("", args.number(), 0);
      std::memset(record.name, 'A', sizeof(record.name));
      printf("%ld\n", sendRecord(command, &record, sizeof(record)));
    } else if (step == "empty") {
      printf("%ld\n", sendRecord(args.number(), nullptr, 0));
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
