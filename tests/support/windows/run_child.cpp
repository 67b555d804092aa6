#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <initializer_list>

#include "child_process.h"

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

TChildRun RunChild(const TChildRequest& request) {
  std::string commandLine = QuoteArgument(request.program);
  for (const std::string& arg : request.args) commandLine += " " + QuoteArgument(arg);
  std::string environment;
  for (const std::string& entry : request.environment) environment += entry + '\0';
  environment += '\0';

  TChildRun run;
  HANDLE inRead = nullptr, inWrite = nullptr, outRead = nullptr, outWrite = nullptr, errRead = nullptr,
         errWrite = nullptr;
  if (!ChildPipe(inRead, inWrite, true) || !ChildPipe(outRead, outWrite, false) ||
      !ChildPipe(errRead, errWrite, false)) {
    CloseAll({inRead, inWrite, outRead, outWrite, errRead, errWrite});
    return run;
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = inRead;
  startup.hStdOutput = outWrite;
  startup.hStdError = errWrite;
  PROCESS_INFORMATION child{};
  const bool started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, environment.data(),
                                      nullptr, &startup, &child);
  CloseAll({inRead, outWrite, errWrite});
  if (!started) {
    CloseAll({inWrite, outRead, errRead});
    return run;
  }
  CloseHandle(child.hThread);
  // The input is small: it fits the pipe, so writing it cannot block.
  DWORD written = 0;
  if (!request.input.empty())
    WriteFile(inWrite, request.input.data(), static_cast<DWORD>(request.input.size()), &written, nullptr);
  CloseHandle(inWrite);

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

}  // namespace testkit
