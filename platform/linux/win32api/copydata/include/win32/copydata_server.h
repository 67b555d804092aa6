#pragma once
// The listening side of WM_COPYDATA between processes: accepts connections
// on a Unix-domain socket, reads requests without blocking and hands each
// complete one to `dispatch`, one at a time, on the event loop's thread.
// A record above the size limit is read and dropped, and answered with 0.
// Clients that stall cannot hold the window: a connection that has not
// completed a request within the stall limit is closed, and a new client over
// the connection limit takes the place of the connection idle the longest.
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "copydata_wire.h"
#include "fd_watcher.h"

class TW32CopyDataServer {
 public:
  // `data` is the whole record, the dispatcher's to change or keep.
  using TDispatch = std::function<int32_t(uint32_t dwData, std::vector<unsigned char>& data)>;

  static constexpr size_t MAX_CONNECTIONS = 64;
  static constexpr int STALL_LIMIT_MS = 5000;

  // Binds `path` (mode 0600), taking over a socket file that no process
  // listens on any more. NULL with a reason in `error` when the path is
  // served by a running process or holds something else than a socket.
  static std::unique_ptr<TW32CopyDataServer> open(const std::string& path, TW32FdWatcher& watcher, TDispatch dispatch,
                                                  std::string& error, int stallLimitMs = STALL_LIMIT_MS);
  ~TW32CopyDataServer();
  TW32CopyDataServer(const TW32CopyDataServer&) = delete;
  TW32CopyDataServer& operator=(const TW32CopyDataServer&) = delete;

  // Stops listening, drops every connection and removes the socket file.
  // Safe to call from inside `dispatch` (the object itself must outlive the
  // call); later calls do nothing.
  void close();

  const std::string& path() const { return path_; }
  size_t connectionCount() const { return connections_.size(); }

 private:
  using TClock = std::chrono::steady_clock;

  // One request read at a time: its header, then its record, or for a
  // record above the size limit the count of its bytes still to drop.
  struct TConnection {
    unsigned char header[W32_COPYDATA_HEADER_SIZE];
    size_t headerBytes = 0;
    std::vector<unsigned char> record;
    uint32_t dropping = 0;
    std::vector<unsigned char> out;
    int watched = 0;
    TClock::time_point lastProgress;  // accepted, or its last request served
  };

  TW32CopyDataServer(const std::string& path, int listener, int stallTimer, int stallLimitMs, TW32FdWatcher& watcher,
                     TDispatch dispatch);
  void onListenerReady();
  void accepted(int fd);
  void onConnectionReady(int fd);
  void onStallCheck();
  bool stalled(const TConnection& connection, TClock::time_point now) const;
  void dropLongestIdle();
  void checkStallsWhileConnected();
  enum class TRead { READ, WOULD_BLOCK, ENDED };
  // Bytes still to come of the request being read; 0 once it is complete.
  static size_t missing(const TConnection& connection);
  TRead readRequest(int fd, TConnection& connection, size_t& budget);
  // False when the connection or the server is gone afterwards.
  bool serve(int fd, TConnection& connection);
  bool flush(int fd, TConnection& connection);
  void rewatch(int fd, TConnection& connection);
  void drop(int fd);

  std::string path_;
  int listener_;
  std::pair<dev_t, ino_t> socketFile_{};
  int spare_;  // kept open to turn away a client when no descriptor is left
  int stallTimer_;
  TClock::duration stallLimit_;
  bool stallTimerArmed_ = false;
  bool closed_ = false;
  TW32FdWatcher& watcher_;
  TDispatch dispatch_;
  std::map<int, TConnection> connections_;
};
