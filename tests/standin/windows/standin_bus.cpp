#include "standin_bus.h"

#include <string>
#include <vector>

namespace {

// Never destroyed at exit: the system has ended the server's thread by then,
// perhaps while it held the lock. Only a rebuild replaces them.
CRITICAL_SECTION lock;
TSimWorld* world = nullptr;
TPipeServer* server = nullptr;

// Names are per process, so that programs run side by side do not meet.
std::string pipe_prefix() { return "\\\\.\\pipe\\qdxsim-" + std::to_string(GetCurrentProcessId()) + "-"; }

struct TLockSetup {
  TLockSetup() { InitializeCriticalSection(&lock); }
} lock_setup;

bool ended = false;

// The program's exit, run by the C library before the system ends the
// process's threads: the server stops while it can still be waited for.
void __cdecl program_exit() {
  TPipeServer* last = nullptr;
  EnterCriticalSection(&lock);
  last = server;
  server = nullptr;
  LeaveCriticalSection(&lock);
  if (!last) return;
  last->StopThread();
  EnterCriticalSection(&lock);
  last->EndOfProcess();
  ended = true;
  LeaveCriticalSection(&lock);
}

// Registered with msvcrt itself, whose exit() runs it in the exiting thread
// (a DLL's own atexit would run only when the process is already ending).
void call_at_program_exit() {
  using TAtExit = int(__cdecl*)(void(__cdecl*)());
  HMODULE msvcrt = GetModuleHandleA("msvcrt.dll");
  auto atExit = msvcrt ? reinterpret_cast<TAtExit>(reinterpret_cast<void*>(GetProcAddress(msvcrt, "atexit"))) : nullptr;
  if (atExit) atExit(program_exit);
}

// With the lock held. The listening pipes exist when it returns, before any
// program can open their paths.
void ensure_world() {
  if (world) return;
  static bool registered = false;
  if (!registered) call_at_program_exit();
  registered = true;
  world = new TSimWorld(sim_config_from_env(), pipe_prefix());
  server = new TPipeServer(*world, &lock);
  server->Start();
}

// The name of a pipe as the file system reports it for a handle: the
// path without "\\.\pipe".
std::wstring pipe_file_name(const std::wstring& path) { return path.substr(path.find(L"\\pipe\\") + 5); }

}  // namespace

TBusLock::TBusLock() {
  EnterCriticalSection(&lock);
  ensure_world();
}

TBusLock::~TBusLock() { LeaveCriticalSection(&lock); }

TSimWorld& TBusLock::World() { return *world; }

TPipeServer& TBusLock::Server() { return *server; }

TBusDevice standin_device_of(TSimWorld& bus, HANDLE handle) {
  TBusDevice device;
  std::vector<unsigned char> info(sizeof(FILE_NAME_INFO) + MAX_PATH * 4 * sizeof(wchar_t));
  auto* name = reinterpret_cast<FILE_NAME_INFO*>(info.data());
  if (!GetFileInformationByHandleEx(handle, FileNameInfo, name, static_cast<DWORD>(info.size()))) return device;
  const std::wstring file(name->FileName, name->FileNameLength / sizeof(wchar_t));
  for (size_t c = 0; c < bus.Count(); ++c) {
    for (unsigned collection = 0; collection < STANDIN_COLLECTIONS; ++collection) {
      if (pipe_file_name(standin_pipe_path(bus.Path(c), collection)) == file) {
        device.controller = static_cast<int>(c);
        device.collection = collection;
        return device;
      }
    }
  }
  return device;
}

void standin_rebuild() {
  TPipeServer* old = nullptr;
  {
    TBusLock guard;
    old = server;
    server = nullptr;
  }
  // The old server's thread takes the lock for its steps: end it unlocked.
  delete old;
  EnterCriticalSection(&lock);
  delete world;
  world = nullptr;
  ensure_world();
  LeaveCriticalSection(&lock);
}

void standin_end_of_process() {
  // Only when the program ended without its C library's exit(): a thread the
  // system ended may have held the lock; nothing else runs now.
  if (server && !ended) server->EndOfProcess();
}
