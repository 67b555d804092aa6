#include "fltk_fd_watcher.h"

#include <FL/Fl.H>

#include <map>

namespace {

class TW32FltkFdWatcher : public TW32FdWatcher {
 public:
  void watch(int fd, int events, std::function<void()> ready) override {
    callbacks_[fd] = std::move(ready);
    Fl::remove_fd(fd);
    Fl::add_fd(fd, (events & READ ? FL_READ : 0) | (events & WRITE ? FL_WRITE : 0), onReady, this);
  }

  void unwatch(int fd) override {
    callbacks_.erase(fd);
    Fl::remove_fd(fd);
  }

 private:
  static void onReady(int fd, void* data) {
    auto* self = static_cast<TW32FltkFdWatcher*>(data);
    auto found = self->callbacks_.find(fd);
    if (found == self->callbacks_.end()) return;
    const std::function<void()> ready = found->second;
    ready();
  }

  std::map<int, std::function<void()>> callbacks_;
};

}  // namespace

TW32FdWatcher& w32_fltkFdWatcher() {
  static TW32FltkFdWatcher watcher;
  return watcher;
}
