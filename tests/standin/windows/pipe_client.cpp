#include "pipe_client.h"

#include <vector>

namespace {

constexpr DWORD answer_wait_ms = 10000;  // the server answers within milliseconds

// One overlapped transfer on the program's end, waited for. The end was
// opened for overlapped I/O, so a plain one would not wait.
bool transfer(HANDLE handle, bool write, void* data, DWORD length, DWORD& done) {
  OVERLAPPED ol{};
  ol.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const BOOL started =
      write ? WriteFile(handle, data, length, nullptr, &ol) : ReadFile(handle, data, length, nullptr, &ol);
  if (!started && GetLastError() != ERROR_IO_PENDING) {
    const DWORD error = GetLastError();
    CloseHandle(ol.hEvent);
    SetLastError(error);
    return false;
  }
  if (WaitForSingleObject(ol.hEvent, answer_wait_ms) != WAIT_OBJECT_0) CancelIo(handle);
  const bool ok = GetOverlappedResult(handle, &ol, &done, TRUE);
  const DWORD error = GetLastError();
  CloseHandle(ol.hEvent);
  SetLastError(error);
  return ok;
}

}  // namespace

DWORD standin_claim(HANDLE handle) {
  DWORD mode = PIPE_READMODE_MESSAGE;
  if (!SetNamedPipeHandleState(handle, &mode, nullptr, nullptr)) return GetLastError();
  char claim[] = "claim";
  DWORD done = 0;
  if (!transfer(handle, true, claim, sizeof claim, done)) return GetLastError();
  DWORD answer = ERROR_GEN_FAILURE;
  if (!transfer(handle, false, &answer, sizeof answer, done) || done != sizeof answer) return ERROR_GEN_FAILURE;
  return answer;
}

void standin_discard_waiting(HANDLE handle) {
  std::vector<unsigned char> report(64 * 1024);
  DWORD available = 0;
  DWORD done = 0;
  while (PeekNamedPipe(handle, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
    if (!transfer(handle, false, report.data(), static_cast<DWORD>(report.size()), done)) return;
  }
}
