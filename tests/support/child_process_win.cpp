#include <windows.h>

#include <string>
#include <thread>

#include "child_process.h"
#include "process_environment.h"

namespace testkit {

std::vector<std::string> ProcessEnvironment() {
  std::vector<std::string> entries;
  char* block = GetEnvironmentStringsA();
  if (!block) return entries;
  for (const char* entry = block; *entry != '\0'; entry += entries.back().size() + 1) entries.emplace_back(entry);
  FreeEnvironmentStringsA(block);
  // Entries such as "=C:=C:\..." are the system's own, not variables.
  std::vector<std::string> variables;
  for (const std::string& entry : entries)
    if (entry[0] != '=') variables.push_back(entry);
  return variables;
}

namespace {

// One argument as the C runtime splits a command line: quoted when it has to
// be, with the backslashes before a quote doubled.
std::string Quoted(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, '\\');
  return quoted + "\"";
}

struct TPipe {
  HANDLE read = nullptr;
  HANDLE write = nullptr;
  bool Open(bool childReads) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    if (!CreatePipe(&read, &write, &inherit, 0)) return false;
    // Only the child's end is inherited.
    SetHandleInformation(childReads ? write : read, HANDLE_FLAG_INHERIT, 0);
    return true;
  }
  void Close() {
    for (HANDLE* end : {&read, &write}) {
      if (*end) CloseHandle(*end);
      *end = nullptr;
    }
  }
};

// Reads a pipe to its end on a thread of its own, so that neither output
// can fill up and stop the child.
void Drain(HANDLE pipe, std::string* sink) {
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) sink->append(buffer, got);
}

}  // namespace

TChildRun RunChild(const TChildRequest& request) {
  TChildRun run;
  std::string commandLine = Quoted(request.program);
  for (const std::string& argument : request.args) commandLine += " " + Quoted(argument);
  std::string environment;
  for (const std::string& entry : request.environment) environment += entry + '\0';
  environment += '\0';

  TPipe in, out, err;
  if (!in.Open(true) || !out.Open(false) || !err.Open(false)) {
    in.Close();
    out.Close();
    err.Close();
    return run;
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in.read;
  startup.hStdOutput = out.write;
  startup.hStdError = err.write;
  PROCESS_INFORMATION child{};
  const BOOL started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, environment.data(),
                                      nullptr, &startup, &child);
  CloseHandle(in.read);
  CloseHandle(out.write);
  CloseHandle(err.write);
  in.read = out.write = err.write = nullptr;
  if (!started) {
    in.Close();
    out.Close();
    err.Close();
    return run;
  }
  std::thread outReader(Drain, out.read, &run.out);
  std::thread errReader(Drain, err.read, &run.err);
  // The input is small: it fits the pipe, so writing it cannot block.
  DWORD written = 0;
  if (!request.input.empty())
    WriteFile(in.write, request.input.data(), static_cast<DWORD>(request.input.size()), &written, nullptr);
  in.Close();

  if (WaitForSingleObject(child.hProcess, static_cast<DWORD>(request.timeoutMs)) != WAIT_OBJECT_0) {
    run.timedOut = true;
    TerminateProcess(child.hProcess, 1);
    WaitForSingleObject(child.hProcess, INFINITE);
  }
  outReader.join();
  errReader.join();
  out.Close();
  err.Close();
  DWORD code = 0;
  if (!run.timedOut && GetExitCodeProcess(child.hProcess, &code)) run.status = static_cast<int>(code);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  return run;
}

}  // namespace testkit
