#pragma once
// A file descriptor watcher run by the test itself with poll(2), so that the
// socket server can be tested without a display.
#include <poll.h>

#include <win32/fd_watcher.h>
#include <chrono>
#include <functional>
#include <map>
#include <vector>

class TPollWatcher : public TW32FdWatcher {
 public:
  void watch(int fd, int events, std::function<void()> ready) override { watched_[fd] = {events, std::move(ready)}; }
  void unwatch(int fd) override { watched_.erase(fd); }
  bool watches(int fd) const { return watched_.count(fd) != 0; }

  // Serves ready descriptors until `done` holds or `timeoutMs` has passed.
  bool pumpUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
      if (std::chrono::steady_clock::now() >= deadline) return false;
      serveOnce(10);
    }
    return true;
  }

  // Waits at most `waitMs` for ready descriptors and serves them once; false
  // when none was ready.
  bool serveOnce(int waitMs) {
    std::vector<pollfd> fds;
    for (const auto& entry : watched_)
      fds.push_back(
          {entry.first,
           static_cast<short>((entry.second.first & READ ? POLLIN : 0) | (entry.second.first & WRITE ? POLLOUT : 0)),
           0});
    if (poll(fds.data(), fds.size(), waitMs) <= 0) return false;
    for (const pollfd& fd : fds) {
      auto found = watched_.find(fd.fd);
      if (!fd.revents || found == watched_.end()) continue;
      const std::function<void()> ready = found->second.second;
      ready();
    }
    return true;
  }

 private:
  std::map<int, std::pair<int, std::function<void()>>> watched_;
};
