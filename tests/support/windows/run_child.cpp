#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "child_process.h"
#include "console_child.h"

namespace testkit {

namespace {

// One argument as the child's C runtime splits its command line.
std::string QuoteArgument(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string::npos) return arg;
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count double only in front of a quote.
    quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    quoted.push_back(c);
    backslashes = 0;
  }
  quoted.append(2 * backslashes, '\\');
  quoted.push_back('"');
  return quoted;
}

// What a pipe delivers until its last writer closes it.
struct TDrain {
  HANDLE pipe = nullptr;
  std::string text;

  static DWORD WINAPI Run(void* self) {
    TDrain& drain = *static_cast<TDrain*>(self);
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(drain.pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) drain.text.append(buffer, got);
    return 0;
  }
};

// The child writes its streams in text mode: CR LF becomes LF here.
std::string AsText(const std::string& written) {
  std::string text;
  for (size_t i = 0; i < written.size(); ++i)
    if (!(written[i] == '\r' && i + 1 < written.size() && written[i + 1] == '\n')) text.push_back(written[i]);
  return text;
}

void CloseAll(std::initializer_list<HANDLE> handles) {
  for (HANDLE handle : handles)
    if (handle) CloseHandle(handle);
}

// A pipe whose `childEnd` the child inherits and whose other end stays here.
bool ChildPipe(HANDLE& read, HANDLE& write, bool childReads) {
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  if (!CreatePipe(&read, &write, &inheritable, 0)) return false;
  return SetHandleInformation(childReads ? write : read, HANDLE_FLAG_INHERIT, 0);
}

}  // namespace

std::vector<std::string> CurrentEnvironment() {
  std::vector<std::string> entries;
  char* block = GetEnvironmentStringsA();
  for (const char* entry = block; entry && *entry; entry += strlen(entry) + 1) entries.emplace_back(entry);
  if (block) FreeEnvironmentStringsA(block);
  return entries;
}

namespace {

std::string CommandLine(const TChildRequest& request) {
  std::string commandLine = QuoteArgument(request.program);
  for (const std::string& arg : request.args) commandLine += " " + QuoteArgument(arg);
  return commandLine;
}

// Starts the child with `input` as its standard input (or none) and, when
// given, the process attributes; collects its output and its end.
TChildRun Launch(std::string commandLine, const TChildRequest& request, HANDLE input,
                 LPPROC_THREAD_ATTRIBUTE_LIST attributes) {
  std::string environment;
  for (const std::string& entry : request.environment) environment += entry + '\0';
  environment += '\0';

  TChildRun run;
  HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
  if (!ChildPipe(outRead, outWrite, false) || !ChildPipe(errRead, errWrite, false)) {
    CloseAll({outRead, outWrite, errRead, errWrite});
    return run;
  }
  STARTUPINFOEXA startup{};
  startup.StartupInfo.cb = attributes ? sizeof startup : sizeof startup.StartupInfo;
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
  startup.StartupInfo.hStdInput = input;
  startup.StartupInfo.hStdOutput = outWrite;
  startup.StartupInfo.hStdError = errWrite;
  startup.lpAttributeList = attributes;
  PROCESS_INFORMATION child{};
  const bool started =
      CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, attributes ? EXTENDED_STARTUPINFO_PRESENT : 0,
                     environment.data(), nullptr, &startup.StartupInfo, &child);
  CloseAll({outWrite, errWrite});
  if (!started) {
    CloseAll({outRead, errRead});
    return run;
  }
  CloseHandle(child.hThread);

  TDrain drains[2];
  drains[0].pipe = outRead;
  drains[1].pipe = errRead;
  HANDLE readers[2] = {CreateThread(nullptr, 0, TDrain::Run, &drains[0], 0, nullptr),
                       CreateThread(nullptr, 0, TDrain::Run, &drains[1], 0, nullptr)};
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(request.timeoutMs);
  const auto left = [&] {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return static_cast<DWORD>(ms.count() > 0 ? ms.count() : 0);
  };
  if (WaitForSingleObject(child.hProcess, left()) != WAIT_OBJECT_0) {
    run.timedOut = true;
    TerminateProcess(child.hProcess, 1);
    WaitForSingleObject(child.hProcess, INFINITE);
  }
  // A process the child left behind may hold its streams open: the readers
  // get until the deadline (at least a second), then their reads are cancelled.
  for (HANDLE reader : readers) {
    if (reader && WaitForSingleObject(reader, std::max<DWORD>(left(), 1000)) != WAIT_OBJECT_0) {
      CancelSynchronousIo(reader);
      WaitForSingleObject(reader, INFINITE);
    }
  }
  CloseAll({readers[0], readers[1], outRead, errRead});
  DWORD status = 0;
  if (!run.timedOut && GetExitCodeProcess(child.hProcess, &status)) run.status = static_cast<int>(status);
  CloseHandle(child.hProcess);
  run.out = AsText(drains[0].text);
  run.err = AsText(drains[1].text);
  return run;
}

// A pseudo console's functions, which not every Windows has (looked up, so
// that only the runs on a console need them).
using TPseudoConsole = void*;
using TCreatePseudoConsole = HRESULT(WINAPI*)(COORD, HANDLE, HANDLE, DWORD, TPseudoConsole*);
using TClosePseudoConsole = void(WINAPI*)(TPseudoConsole);
constexpr DWORD_PTR PSEUDO_CONSOLE_ATTRIBUTE = 0x00020016;  // PROC_THREAD_ATTRIBUTE_PSEUDOCONSOLE

template <typename TFunction>
TFunction KernelFunction(const char* name) {
  return reinterpret_cast<TFunction>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), name)));
}

}  // namespace

TChildRun RunChild(const TChildRequest& request) {
  HANDLE inRead = nullptr, inWrite = nullptr;
  if (!ChildPipe(inRead, inWrite, true)) return TChildRun();
  // The input is small: it fits the pipe, so writing it cannot block.
  DWORD written = 0;
  if (!request.input.empty())
    WriteFile(inWrite, request.input.data(), static_cast<DWORD>(request.input.size()), &written, nullptr);
  CloseHandle(inWrite);
  TChildRun run = Launch(CommandLine(request), request, inRead, nullptr);
  CloseHandle(inRead);
  return run;
}

TChildRun RunChildOnConsole(const TChildRequest& request) {
  const auto createConsole = KernelFunction<TCreatePseudoConsole>("CreatePseudoConsole");
  const auto closeConsole = KernelFunction<TClosePseudoConsole>("ClosePseudoConsole");
  HANDLE keysRead = nullptr, keysWrite = nullptr, screenRead = nullptr, screenWrite = nullptr;
  TPseudoConsole console = nullptr;
  if (!createConsole || !closeConsole || !CreatePipe(&keysRead, &keysWrite, nullptr, 0) ||
      !CreatePipe(&screenRead, &screenWrite, nullptr, 0) ||
      createConsole(COORD{80, 25}, keysRead, screenWrite, 0, &console) != S_OK) {
    CloseAll({keysRead, keysWrite, screenRead, screenWrite});
    return TChildRun();
  }
  CloseAll({keysRead, screenWrite});
  // The console's screen is drawn into a pipe that must not fill up.
  TDrain screen;
  screen.pipe = screenRead;
  HANDLE screenReader = CreateThread(nullptr, 0, TDrain::Run, &screen, 0, nullptr);
  // Typed before the child starts: every key waits in the console for it.
  DWORD written = 0;
  if (!request.input.empty())
    WriteFile(keysWrite, request.input.data(), static_cast<DWORD>(request.input.size()), &written, nullptr);

  SIZE_T size = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
  std::vector<char> list(size);
  auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(list.data());
  TChildRun run;
  if (InitializeProcThreadAttributeList(attributes, 1, 0, &size) &&
      UpdateProcThreadAttribute(attributes, 0, PSEUDO_CONSOLE_ATTRIBUTE, console, sizeof console, nullptr, nullptr)) {
    // Only a process on the console can open the console's input: cmd opens
    // it as the child's standard input.
    run = Launch("cmd /s /c \"" + CommandLine(request) + " <CONIN$\"", request, nullptr, attributes);
    DeleteProcThreadAttributeList(attributes);
  }
  closeConsole(console);
  CloseHandle(keysWrite);
  if (screenReader) WaitForSingleObject(screenReader, INFINITE);
  CloseAll({screenReader, screenRead});
  return run;
}

}  // namespace testkit
