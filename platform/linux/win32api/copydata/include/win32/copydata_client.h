#pragma once
// The sending side of WM_COPYDATA between processes.
#include <cstdint>
#include <string>

// True when a process listens on `path`.
bool w32_copyDataProbe(const std::string& path);

// No bound on the wait for an answer: as long as the server's process lives.
const int W32_COPYDATA_NO_TIMEOUT = -1;

// Sends one request and waits at most `timeoutMs` for its answer. False when
// nobody listens, the data is above the size limit, or the connection ends
// or times out before the answer.
bool w32_copyDataSend(const std::string& path, uint32_t dwData, const void* data, uint32_t cbData, int32_t& answer,
                      int timeoutMs);
