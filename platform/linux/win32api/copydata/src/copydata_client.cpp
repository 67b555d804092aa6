#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <win32/copydata_client.h>
#include <win32/copydata_wire.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

// -1 (poll's "no bound") for no deadline.
int millisecondsLeft(TClock::time_point deadline) {
  if (deadline == TClock::time_point::max()) return -1;
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

class TSocket {
 public:
  explicit TSocket(int fd) : fd_(fd) {}
  ~TSocket() {
    if (fd_ >= 0) close(fd_);
  }
  TSocket(const TSocket&) = delete;
  TSocket& operator=(const TSocket&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

bool waitFor(int fd, short events, TClock::time_point deadline) {
  for (;;) {
    pollfd entry{fd, events, 0};
    const int ready = poll(&entry, 1, millisecondsLeft(deadline));
    if (ready > 0) return true;
    if (ready == 0 || errno != EINTR) return false;
  }
}

// A full backlog refuses a non-blocking connect with EAGAIN; try again
// until the deadline.
bool connectTo(const TSocket& socket, const std::string& path, TClock::time_point deadline) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof(address.sun_path)) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  for (;;) {
    if (connect(socket.fd(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0) return true;
    if (errno != EAGAIN && errno != EINTR) return false;
    if (millisecondsLeft(deadline) == 0) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

bool sendAll(const TSocket& socket, const std::vector<unsigned char>& bytes, TClock::time_point deadline) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = send(socket.fd(), bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n > 0) {
      sent += static_cast<size_t>(n);
    } else if (errno == EAGAIN) {
      if (!waitFor(socket.fd(), POLLOUT, deadline)) return false;
    } else if (errno != EINTR) {
      return false;
    }
  }
  return true;
}

bool receiveAll(const TSocket& socket, unsigned char* out, size_t size, TClock::time_point deadline) {
  size_t received = 0;
  while (received < size) {
    const ssize_t n = recv(socket.fd(), out + received, size - received, 0);
    if (n > 0) {
      received += static_cast<size_t>(n);
    } else if (n == 0) {
      return false;
    } else if (errno == EAGAIN) {
      if (!waitFor(socket.fd(), POLLIN, deadline)) return false;
    } else if (errno != EINTR) {
      return false;
    }
  }
  return true;
}

TSocket openSocket() { return TSocket(socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)); }

}  // namespace

bool w32_copyDataProbe(const std::string& path) {
  const TSocket socket = openSocket();
  return socket.fd() >= 0 && connectTo(socket, path, TClock::now() + std::chrono::seconds(1));
}

bool w32_copyDataSend(const std::string& path, uint32_t dwData, const void* data, uint32_t cbData, int32_t& answer,
                      int timeoutMs) {
  if (cbData > W32_COPYDATA_MAX_DATA || (cbData > 0 && !data)) return false;
  const auto deadline =
      timeoutMs < 0 ? TClock::time_point::max() : TClock::now() + std::chrono::milliseconds(timeoutMs);
  const TSocket socket = openSocket();
  if (socket.fd() < 0 || !connectTo(socket, path, deadline)) return false;
  std::vector<unsigned char> request(W32_COPYDATA_HEADER_SIZE + cbData);
  w32_encodeCopyDataHeader({W32_COPYDATA_MESSAGE, dwData, cbData}, request.data());
  if (cbData > 0) std::memcpy(request.data() + W32_COPYDATA_HEADER_SIZE, data, cbData);
  unsigned char reply[W32_COPYDATA_ANSWER_SIZE];
  if (!sendAll(socket, request, deadline) || !receiveAll(socket, reply, sizeof(reply), deadline)) return false;
  answer = static_cast<int32_t>(w32_getLittleEndian32(reply));
  return true;
}
