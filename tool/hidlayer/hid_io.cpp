#include "hid_io.h"

namespace {

THidObserver* observer = nullptr;

// hidapi dereferences the handle, so a missing device or buffer is refused here.
bool usable(hid_device* dev, const unsigned char* data) { return dev != nullptr && data != nullptr; }

template <typename TRead>
int observed_read(hid_device* dev, unsigned char* data, size_t length, TRead read) {
  if (observer) observer->ReadStarted(dev, length);
  int result = usable(dev, data) ? read() : -1;
  if (observer) observer->ReadDone(dev, data, result);
  return result;
}

}  // namespace

void THidObserver::ReadStarted(hid_device*, size_t) {}
void THidObserver::ReadDone(hid_device*, const unsigned char*, int) {}
void THidObserver::WriteStarted(hid_device*, const unsigned char*, size_t) {}
void THidObserver::WriteDone(hid_device*, int) {}

THidObserver* hidio_set_observer(THidObserver* next) {
  THidObserver* previous = observer;
  observer = next;
  return previous;
}

int hidio_read(hid_device* dev, unsigned char* data, size_t length) {
  return observed_read(dev, data, length, [&] { return hid_read(dev, data, length); });
}

int hidio_read_now(hid_device* dev, unsigned char* data, size_t length) {
  return hidio_read_timeout(dev, data, length, 0);
}

int hidio_read_timeout(hid_device* dev, unsigned char* data, size_t length, int ms) {
  return observed_read(dev, data, length, [&] { return hid_read_timeout(dev, data, length, ms); });
}

int hidio_write(hid_device* dev, const unsigned char* data, size_t length) {
  if (observer) observer->WriteStarted(dev, data, length);
  int result = usable(dev, data) ? hid_write(dev, data, length) : -1;
  if (observer) observer->WriteDone(dev, result);
  return result;
}

int hidio_set_nonblocking(hid_device* dev, int nonblock) { return dev ? hid_set_nonblocking(dev, nonblock) : -1; }
