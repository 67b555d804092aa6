#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/timerfd.h>
#include <sys/un.h>
#include <unistd.h>

#include <linux_64bit_types.h>
#include <win32/copydata_client.h>
#include <win32/copydata_server.h>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

// What one connection may read in one turn of the event loop, so that a
// large record does not keep the loop from the other connections.
const size_t readPerTurn = 65536;

// Stalled connections are looked for this many times within the stall limit.
const int stallChecksPerLimit = 4;

std::string withReason(const std::string& path, const char* what) {
  return path + ": " + what + ": " + std::strerror(errno);
}

}  // namespace

std::unique_ptr<TW32CopyDataServer> TW32CopyDataServer::open(const std::string& path, TW32FdWatcher& watcher,
                                                             TDispatch dispatch, std::string& error, int stallLimitMs) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof(address.sun_path)) {
    error = path + ": not a usable socket path";
    return nullptr;
  }
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);

  struct stat status {};
  if (lstat(path.c_str(), &status) == 0) {
    if (!S_ISSOCK(status.st_mode)) {
      error = path + ": exists and is not a socket";
      return nullptr;
    }
    if (w32_copyDataProbe(path)) {
      error = path + ": another running process serves this window class";
      return nullptr;
    }
    unlink(path.c_str());  // left behind by a process that ended without removing it
  }

  const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (listener < 0) {
    error = withReason(path, "socket");
    return nullptr;
  }
  const int stallTimer = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
  if (stallTimer < 0) {
    error = withReason(path, "timerfd_create");
    ::close(listener);
    return nullptr;
  }
  const mode_t oldMask = umask(0177);
  const int bound = bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  umask(oldMask);
  // A backlog as long as the system allows: clients that connect while the
  // window is busy wait there instead of being turned away.
  if (bound != 0 || chmod(path.c_str(), 0600) != 0 || listen(listener, SOMAXCONN) != 0) {
    error = withReason(path, bound != 0 ? "bind" : "listen");
    if (bound == 0) unlink(path.c_str());
    ::close(listener);
    ::close(stallTimer);
    return nullptr;
  }
  return std::unique_ptr<TW32CopyDataServer>(
      new TW32CopyDataServer(path, listener, stallTimer, std::max(stallLimitMs, 1), watcher, std::move(dispatch)));
}

TW32CopyDataServer::TW32CopyDataServer(const std::string& path, int listener, int stallTimer, int stallLimitMs,
                                       TW32FdWatcher& watcher, TDispatch dispatch)
    : path_(path),
      listener_(listener),
      spare_(::open("/dev/null", O_RDONLY | O_CLOEXEC)),
      stallTimer_(stallTimer),
      stallLimit_(std::chrono::milliseconds(stallLimitMs)),
      watcher_(watcher),
      dispatch_(std::move(dispatch)) {
  struct stat status {};
  if (stat(path_.c_str(), &status) == 0) socketFile_ = {status.st_dev, status.st_ino};
  watcher_.watch(listener_, TW32FdWatcher::READ, [this] { onListenerReady(); });
  watcher_.watch(stallTimer_, TW32FdWatcher::READ, [this] { onStallCheck(); });
}

TW32CopyDataServer::~TW32CopyDataServer() { close(); }

void TW32CopyDataServer::close() {
  if (closed_) return;
  closed_ = true;
  watcher_.unwatch(listener_);
  ::close(listener_);
  watcher_.unwatch(stallTimer_);
  ::close(stallTimer_);
  stallTimerArmed_ = false;
  for (auto& entry : connections_) {
    watcher_.unwatch(entry.first);
    ::close(entry.first);
  }
  connections_.clear();
  if (spare_ >= 0) ::close(spare_);
  // Only the file this server made: never one that has taken its place.
  struct stat status {};
  if (lstat(path_.c_str(), &status) == 0 && status.st_dev == socketFile_.first && status.st_ino == socketFile_.second)
    unlink(path_.c_str());
}

void TW32CopyDataServer::onListenerReady() {
  // A bounded number at a time, so that a flood of connections cannot keep
  // the loop from the clients already connected.
  for (size_t accepts = 0; accepts < MAX_CONNECTIONS && !closed_; ++accepts) {
    const int fd = accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd >= 0) {
      accepted(fd);
      continue;
    }
    if (errno == EINTR) continue;
    if ((errno == EMFILE || errno == ENFILE) && spare_ >= 0) {
      // Free a descriptor to turn the client away rather than leave it
      // ready in the backlog, which would wake the loop again at once.
      ::close(spare_);
      const int refused = accept(listener_, nullptr, nullptr);
      if (refused >= 0) ::close(refused);
      spare_ = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
      continue;
    }
    return;
  }
}

void TW32CopyDataServer::accepted(int fd) {
  // A new client is served even when stalled clients fill every place.
  if (connections_.size() >= MAX_CONNECTIONS) dropLongestIdle();
  TConnection& connection = connections_[fd];
  connection.lastProgress = TClock::now();
  checkStallsWhileConnected();
  // A client writes its request right after connecting: serve it at once.
  onConnectionReady(fd);
}

void TW32CopyDataServer::onConnectionReady(int fd) {
  auto found = connections_.find(fd);
  if (found == connections_.end()) return;
  TConnection& connection = found->second;
  if (!flush(fd, connection)) return drop(fd);
  // Answers not yet taken hold back further requests of the same client.
  size_t budget = readPerTurn;
  while (connection.out.empty()) {
    // A request that came in full is served even when the client has hung up.
    if (connection.headerBytes == W32_COPYDATA_HEADER_SIZE && missing(connection) == 0) {
      if (!serve(fd, connection)) return;
      continue;
    }
    if (budget == 0) break;
    const TRead read = readRequest(fd, connection, budget);
    if (read == TRead::WOULD_BLOCK) break;
    if (read == TRead::ENDED) return drop(fd);
  }
  rewatch(fd, connection);
}

bool TW32CopyDataServer::stalled(const TConnection& connection, TClock::time_point now) const {
  return now - connection.lastProgress >= stallLimit_;
}

void TW32CopyDataServer::onStallCheck() {
  uint64_t expirations = 0;
  if (read(stallTimer_, &expirations, sizeof(expirations)) < 0 && errno != EAGAIN) return;
  const TClock::time_point now = TClock::now();
  std::vector<int> stalledFds;
  for (const auto& entry : connections_)
    if (stalled(entry.second, now)) stalledFds.push_back(entry.first);
  for (int fd : stalledFds) {
    // What came in while the loop was busy elsewhere is served first.
    onConnectionReady(fd);
    if (closed_) return;
    auto found = connections_.find(fd);
    if (found != connections_.end() && stalled(found->second, now)) drop(fd);
  }
}

void TW32CopyDataServer::dropLongestIdle() {
  auto idle = connections_.begin();
  for (auto entry = connections_.begin(); entry != connections_.end(); ++entry)
    if (entry->second.lastProgress < idle->second.lastProgress) idle = entry;
  if (idle != connections_.end()) drop(idle->first);
}

// The timer runs only while there are connections to watch.
void TW32CopyDataServer::checkStallsWhileConnected() {
  const bool wanted = !connections_.empty() && !closed_;
  if (wanted == stallTimerArmed_) return;
  itimerspec period{};
  if (wanted) {
    const auto interval = std::max<TClock::duration>(stallLimit_ / stallChecksPerLimit, std::chrono::milliseconds(1));
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(interval);
    period.it_interval.tv_sec = static_cast<time_t>(seconds.count());
    period.it_interval.tv_nsec =
        static_cast<long>(std::chrono::duration_cast<std::chrono::nanoseconds>(interval - seconds).count());
    period.it_value = period.it_interval;
  }
  if (timerfd_settime(stallTimer_, 0, &period, nullptr) == 0) stallTimerArmed_ = wanted;
}

size_t TW32CopyDataServer::missing(const TConnection& connection) {
  if (connection.headerBytes < W32_COPYDATA_HEADER_SIZE) return W32_COPYDATA_HEADER_SIZE - connection.headerBytes;
  const uint32_t cbData = w32_decodeCopyDataHeader(connection.header).cbData;
  return cbData > W32_COPYDATA_MAX_DATA ? connection.dropping : cbData - connection.record.size();
}

TW32CopyDataServer::TRead TW32CopyDataServer::readRequest(int fd, TConnection& connection, size_t& budget) {
  const bool inHeader = connection.headerBytes < W32_COPYDATA_HEADER_SIZE;
  const size_t wanted = std::min(missing(connection), budget);
  unsigned char dropped[4096];
  unsigned char* into = dropped;
  size_t room = std::min(wanted, sizeof(dropped));
  if (inHeader) {
    into = connection.header + connection.headerBytes;
  } else if (connection.dropping == 0) {
    const size_t had = connection.record.size();
    connection.record.resize(had + wanted);
    into = connection.record.data() + had;
    room = wanted;
  }
  const ssize_t n = recv(fd, into, room, MSG_DONTWAIT);
  const size_t got = n > 0 ? static_cast<size_t>(n) : 0;
  if (!inHeader && connection.dropping == 0) connection.record.resize(connection.record.size() - room + got);
  if (n == 0) return TRead::ENDED;
  if (n < 0 && errno == EINTR) return TRead::READ;
  if (n < 0) return errno == EAGAIN || errno == EWOULDBLOCK ? TRead::WOULD_BLOCK : TRead::ENDED;
  budget -= got;
  if (inHeader) {
    connection.headerBytes += got;
    if (connection.headerBytes < W32_COPYDATA_HEADER_SIZE) return TRead::READ;
    const TW32CopyDataHeader header = w32_decodeCopyDataHeader(connection.header);
    if (header.message != W32_COPYDATA_MESSAGE) return TRead::ENDED;
    // A record above the limit is read to its end and dropped.
    if (header.cbData > W32_COPYDATA_MAX_DATA) connection.dropping = header.cbData;
  } else if (connection.dropping > 0) {
    connection.dropping -= got;
  }
  return TRead::READ;
}

bool TW32CopyDataServer::serve(int fd, TConnection& connection) {
  const TW32CopyDataHeader header = w32_decodeCopyDataHeader(connection.header);
  std::vector<unsigned char> record;
  record.swap(connection.record);
  connection.headerBytes = 0;
  // Refused with 0, as nothing is done with it.
  const int32_t answer = header.cbData > W32_COPYDATA_MAX_DATA ? 0 : dispatch_(header.dwData, record);
  if (closed_) return false;  // the window went away while serving
  connection.lastProgress = TClock::now();
  unsigned char reply[W32_COPYDATA_ANSWER_SIZE];
  w32_putLittleEndian32(reply, static_cast<uint32_t>(answer));
  connection.out.insert(connection.out.end(), reply, reply + sizeof(reply));
  if (!flush(fd, connection)) {
    drop(fd);
    return false;
  }
  return true;
}

bool TW32CopyDataServer::flush(int fd, TConnection& connection) {
  while (!connection.out.empty()) {
    // MSG_NOSIGNAL: a client that hung up must not end this process.
    const ssize_t n = send(fd, connection.out.data(), connection.out.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n > 0) {
      connection.out.erase(connection.out.begin(), connection.out.begin() + n);
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      return true;
    } else if (errno != EINTR) {
      return false;
    }
  }
  return true;
}

void TW32CopyDataServer::rewatch(int fd, TConnection& connection) {
  // Answers not yet taken hold back further requests of the same client.
  const int events = connection.out.empty() ? TW32FdWatcher::READ : TW32FdWatcher::WRITE;
  if (events == connection.watched) return;
  connection.watched = events;
  watcher_.watch(fd, events, [this, fd] { onConnectionReady(fd); });
}

void TW32CopyDataServer::drop(int fd) {
  watcher_.unwatch(fd);
  ::close(fd);
  connections_.erase(fd);
  checkStallsWhileConnected();
}
