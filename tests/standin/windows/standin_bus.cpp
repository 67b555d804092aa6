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

// With the lock held. The listening pipes exist when it returns, before any
// program can open their paths.
void ensure_world() {
  if (world) return;
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
  // A thread the system ended may have held the lock; nothing else runs now.
  if (server) server->EndOfProcess();
}
