#pragma once
// Calls back when a file descriptor is ready, on the thread that runs the
// event loop.
#include <functional>

class TW32FdWatcher {
 public:
  enum { READ = 1, WRITE = 2 };
  virtual ~TW32FdWatcher() = default;
  // Replaces any earlier watch of `fd`. `ready` may watch or unwatch any fd,
  // its own included, so a watcher calls a copy of it.
  virtual void watch(int fd, int events, std::function<void()> ready) = 0;
  virtual void unwatch(int fd) = 0;
};
