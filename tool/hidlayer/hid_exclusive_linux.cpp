#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <map>
#include <mutex>

#include "hid_exclusive.h"

namespace {

// The lock of each device open here: a descriptor of its device node that
// holds an exclusive advisory lock for as long as the device is open.
std::mutex guard;
std::map<hid_device*, int> locks;

// An exclusive lock conflicts with every other open file description of the
// node, also within one process, as the Windows backend's opens do. A node
// this user cannot open fails here as it would in hidapi.
int lock_node(const char* path) {
  const int fd = open(path, O_RDWR | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

hid_device* hidio_open_exclusive(const char* path) {
  if (!path) return nullptr;
  const int lock = lock_node(path);
  if (lock < 0) return nullptr;
  hid_device* dev = hid_open_path(path);
  if (!dev) {
    close(lock);
    return nullptr;
  }
  std::lock_guard<std::mutex> held(guard);
  locks[dev] = lock;
  return dev;
}

void hidio_close(hid_device* dev) {
  if (!dev) return;
  hid_close(dev);
  std::lock_guard<std::mutex> held(guard);
  const auto found = locks.find(dev);
  if (found == locks.end()) return;
  // Closing the descriptor lets the lock go.
  close(found->second);
  locks.erase(found);
}
