#include "pipe_server.h"

namespace {

constexpr int listening_per_path = 4;   // a program opens right after its enumeration closed some
constexpr DWORD pipe_buffer = 64 * 64;  // about the 64 reports a HID driver keeps for a device
constexpr DWORD message_buffer = 64 * 1024;
constexpr size_t input_report_size = 64;

// The Windows error of a refused open, as CreateFile would report it.
DWORD open_error(TSimOpen result) {
  switch (result) {
    case TSimOpen::Ok: return ERROR_SUCCESS;
    case TSimOpen::Held: return ERROR_SHARING_VIOLATION;
    case TSimOpen::Gone: return ERROR_DEVICE_NOT_CONNECTED;
    case TSimOpen::Refused: return ERROR_GEN_FAILURE;
    default: return ERROR_FILE_NOT_FOUND;
  }
}

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// A report as the program reads it. Windows puts a 0 before each report of a
// device that uses no report numbers (fault unnumbered); the 64 bytes of an
// input report then hold the 0 and the report's first 63 bytes.
TSimReport as_read(TSimReport report, const TSimFaults& faults) {
  if (!faults.unnumbered) return report;
  report.insert(report.begin(), 0);
  if (report.size() > input_report_size) report.resize(input_report_size);
  return report;
}

}  // namespace

std::wstring standin_pipe_path(const std::string& path, unsigned collection) {
  std::wstring wide(path.begin(), path.end());
  return collection == STANDIN_INTERFACE ? wide + L"-if" : wide;
}

struct TPipeServer::TConnection {
  int controller = -1;
  unsigned collection = STANDIN_DIAG;
  HANDLE pipe = INVALID_HANDLE_VALUE;
  OVERLAPPED connectOl{};
  OVERLAPPED readOl{};
  OVERLAPPED writeOl{};
  bool connected = false;
  bool reading = false;
  bool writing = false;
  bool claimed = false;  // its first message, the claim, has come
  bool holder = false;
  bool closed = false;
  std::vector<uint8_t> in = std::vector<uint8_t>(message_buffer);
  std::vector<uint8_t> out;  // what is being written; kept until the write is done
};

TPipeServer::TPipeServer(TSimWorld& bus, CRITICAL_SECTION* guard)
    : world(&bus), lock(guard), holders(world->Count(), nullptr) {}

TPipeServer::~TPipeServer() { Stop(); }

void TPipeServer::Start() {
  Step();
  stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  thread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

void TPipeServer::StopThread() {
  if (!thread) return;
  SetEvent(stop);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  CloseHandle(stop);
  thread = nullptr;
}

void TPipeServer::Stop() {
  StopThread();
  EnterCriticalSection(lock);
  for (TConnection& connection : connections) Drop(connection, false);
  connections.clear();
  LeaveCriticalSection(lock);
}

DWORD WINAPI TPipeServer::Run(void* self) {
  auto* server = static_cast<TPipeServer*>(self);
  while (WaitForSingleObject(server->stop, 1) == WAIT_TIMEOUT) {
    EnterCriticalSection(server->lock);
    server->Step();
    LeaveCriticalSection(server->lock);
  }
  return 0;
}

void TPipeServer::Step() {
  ++steps;
  for (size_t c = 0; c < world->Count(); ++c) {
    const int controller = static_cast<int>(c);
    if (world->Gone(controller)) {
      // Unplugged: every end breaks, and the path no longer opens.
      for (TConnection& connection : connections) {
        if (connection.controller == controller) Drop(connection, false);
      }
      holders[c] = nullptr;
      continue;
    }
    for (unsigned collection = 0; collection < STANDIN_COLLECTIONS; ++collection) {
      int listening = 0;
      for (const TConnection& connection : connections) {
        if (connection.controller == controller && connection.collection == collection && !connection.connected &&
            !connection.closed)
          ++listening;
      }
      for (; listening < listening_per_path; ++listening) Listen(controller, collection);
    }
  }
  for (TConnection& connection : connections) {
    if (!connection.closed) Serve(connection);
  }
  connections.remove_if([](const TConnection& connection) { return connection.closed; });
}

void TPipeServer::Listen(int controller, unsigned collection) {
  const std::wstring name = standin_pipe_path(world->Path(static_cast<size_t>(controller)), collection);
  HANDLE pipe = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                                 PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, PIPE_UNLIMITED_INSTANCES,
                                 pipe_buffer, pipe_buffer, 0, nullptr);
  if (pipe == INVALID_HANDLE_VALUE) return;
  connections.emplace_back();
  TConnection& connection = connections.back();
  connection.controller = controller;
  connection.collection = collection;
  connection.pipe = pipe;
  for (OVERLAPPED* ol : {&connection.connectOl, &connection.readOl, &connection.writeOl})
    ol->hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const BOOL done = ConnectNamedPipe(pipe, &connection.connectOl);
  const DWORD error = GetLastError();
  if (done || error == ERROR_PIPE_CONNECTED)
    connection.connected = true;
  else if (error != ERROR_IO_PENDING)
    Drop(connection, false);
}

void TPipeServer::Serve(TConnection& connection) {
  DWORD length = 0;
  if (!connection.connected) {
    if (!HasOverlappedIoCompleted(&connection.connectOl)) return;
    if (!GetOverlappedResult(connection.pipe, &connection.connectOl, &length, FALSE)) {
      Drop(connection);
      return;
    }
    connection.connected = true;
  }
  for (;;) {
    if (connection.reading) {
      if (!HasOverlappedIoCompleted(&connection.readOl)) break;
      connection.reading = false;
      if (GetOverlappedResult(connection.pipe, &connection.readOl, &length, FALSE)) {
        OnMessage(connection, length);
        if (connection.closed) return;
      } else if (GetLastError() != ERROR_MORE_DATA) {
        // The program closed its end.
        Drop(connection);
        return;
      }
    }
    // A deaf controller reads no report of its holder: the pipe fills up.
    if (connection.holder && world->Config().faults.deaf) break;
    ResetEvent(connection.readOl.hEvent);
    connection.reading = true;
    if (!ReadFile(connection.pipe, connection.in.data(), message_buffer, nullptr, &connection.readOl)) {
      const DWORD error = GetLastError();
      if (error != ERROR_IO_PENDING && error != ERROR_MORE_DATA) {
        connection.reading = false;
        Drop(connection);
        return;
      }
    }
  }
  if (connection.holder || connection.writing) WriteReports(connection);
}

void TPipeServer::OnMessage(TConnection& connection, DWORD length) {
  if (!connection.claimed) {
    connection.claimed = true;
    Claim(connection);
    return;
  }
  // Only a holder writes reports: a program writes after its open succeeded.
  if (!connection.holder) return;
  const int c = connection.controller;
  const TSimWrite fate = world->Write(c);
  // The pipe has taken the write already: a write the controller refuses is lost.
  world->Record().Line("write " + std::to_string(c) + " " +
                       (fate == TSimWrite::Failed ? "-1" : std::to_string(length)) + " " +
                       (length > 0 ? sim_hex(connection.in.data(), length) : "-"));
  if (fate == TSimWrite::Delivered)
    world->Controller(static_cast<size_t>(c)).Receive(connection.in.data(), length, sim_now());
}

void TPipeServer::Claim(TConnection& connection) {
  const int c = connection.controller;
  TConnection* holder = holders[static_cast<size_t>(c)];
  // A holder whose program closed its end just before this claim lets go first.
  if (holder && holder != &connection && ClientGone(*holder)) Drop(*holder);
  const TSimOpen result = world->Open(c);
  const std::string path = narrow(standin_pipe_path(world->Path(static_cast<size_t>(c)), connection.collection));
  world->Record().Line("open " + std::to_string(c) + (result == TSimOpen::Ok ? " ok " : " fail ") + path);
  if (result == TSimOpen::Ok) {
    connection.holder = true;
    holders[static_cast<size_t>(c)] = &connection;
  }
  const DWORD reply = open_error(result);
  connection.out.assign(reinterpret_cast<const uint8_t*>(&reply), reinterpret_cast<const uint8_t*>(&reply + 1));
  ResetEvent(connection.writeOl.hEvent);
  connection.writing = true;
  if (!WriteFile(connection.pipe, connection.out.data(), sizeof reply, nullptr, &connection.writeOl) &&
      GetLastError() != ERROR_IO_PENDING)
    connection.writing = false;
}

void TPipeServer::WriteReports(TConnection& connection) {
  TSimController& controller = world->Controller(static_cast<size_t>(connection.controller));
  const uint64_t now = sim_now();
  for (;;) {
    if (connection.writing) {
      if (!HasOverlappedIoCompleted(&connection.writeOl)) return;
      connection.writing = false;
    }
    if (!connection.holder || !controller.Pending(now)) return;
    connection.out = as_read(controller.Take(now), world->Config().faults);
    world->Record().Line("report " + std::to_string(connection.controller) + " " +
                         sim_hex(connection.out.data(), connection.out.size()));
    ResetEvent(connection.writeOl.hEvent);
    connection.writing = true;
    if (!WriteFile(connection.pipe, connection.out.data(), static_cast<DWORD>(connection.out.size()), nullptr,
                   &connection.writeOl) &&
        GetLastError() != ERROR_IO_PENDING) {
      // The program's end is gone; its read notices.
      connection.writing = false;
      return;
    }
  }
}

bool TPipeServer::ClientGone(TConnection& connection) {
  DWORD available = 0;
  return !PeekNamedPipe(connection.pipe, nullptr, 0, nullptr, &available, nullptr);
}

void TPipeServer::Drop(TConnection& connection, bool release) {
  if (connection.closed) return;
  const size_t c = static_cast<size_t>(connection.controller);
  if (connection.holder && release) {
    world->Close(connection.controller);
    world->Record().Line("close " + std::to_string(connection.controller));
  }
  if (holders[c] == &connection) holders[c] = nullptr;
  // The system writes into the buffers until a cancelled operation is done.
  // (Every thread's: the first listening pipes were made by a program's thread.)
  CancelIoEx(connection.pipe, nullptr);
  DWORD length = 0;
  if (!connection.connected) GetOverlappedResult(connection.pipe, &connection.connectOl, &length, TRUE);
  if (connection.reading) GetOverlappedResult(connection.pipe, &connection.readOl, &length, TRUE);
  if (connection.writing) GetOverlappedResult(connection.pipe, &connection.writeOl, &length, TRUE);
  // Disconnected first: a program's read on a pipe merely closed here would wait on.
  if (connection.connected) DisconnectNamedPipe(connection.pipe);
  CloseHandle(connection.pipe);
  for (OVERLAPPED* ol : {&connection.connectOl, &connection.readOl, &connection.writeOl}) CloseHandle(ol->hEvent);
  connection.closed = true;
}

void TPipeServer::DropUnwritten(int controller) {
  TSimController& model = world->Controller(static_cast<size_t>(controller));
  const uint64_t now = sim_now();
  while (model.Pending(now)) model.Take(now);
}

bool TPipeServer::Idle() {
  const uint64_t now = sim_now();
  for (size_t c = 0; c < holders.size(); ++c) {
    TConnection* holder = holders[c];
    if (!holder) continue;
    // A report of the holder not yet taken, or an answer not yet given.
    DWORD waiting = 0;
    if (holder->reading && HasOverlappedIoCompleted(&holder->readOl)) return false;
    if (PeekNamedPipe(holder->pipe, nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0) return false;
    if (holder->writing || world->Controller(c).Pending(now)) return false;
  }
  return true;
}

void TPipeServer::EndOfProcess() {
  for (TConnection* holder : holders) {
    if (holder && ClientGone(*holder)) {
      world->Close(holder->controller);
      world->Record().Line("close " + std::to_string(holder->controller));
    }
  }
  world->DumpHeld();
}
