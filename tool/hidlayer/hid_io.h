#pragma once
// The one path by which the diagnostic code reads and writes HID reports.
// It forwards to hidapi; a build that wants to see the traffic (the device
// tool's trace build) installs an observer instead of changing the callers.
#include <hidapi.h>
#include <cstddef>

class THidObserver {
 public:
  virtual ~THidObserver() = default;
  // A read of at most length bytes is about to start (it may block).
  virtual void ReadStarted(hid_device* dev, size_t length);
  // The read ended: result is the byte count, 0 for nothing, -1 for an error;
  // data holds result bytes when result > 0.
  virtual void ReadDone(hid_device* dev, const unsigned char* data, int result);
  // length bytes of data are about to be written.
  virtual void WriteStarted(hid_device* dev, const unsigned char* data, size_t length);
  // The write ended with the byte count written or -1.
  virtual void WriteDone(hid_device* dev, int result);
};

// Installs the observer of every later call (nullptr: none); returns the previous one.
THidObserver* hidio_set_observer(THidObserver* observer);

// As hid_read: blocks or not by the device's mode.
int hidio_read(hid_device* dev, unsigned char* data, size_t length);
// A read that never waits, whatever the device's mode.
int hidio_read_now(hid_device* dev, unsigned char* data, size_t length);
// A read that waits at most ms milliseconds for a report, whatever the device's mode.
int hidio_read_timeout(hid_device* dev, unsigned char* data, size_t length, int ms);
int hidio_write(hid_device* dev, const unsigned char* data, size_t length);
int hidio_set_nonblocking(hid_device* dev, int nonblock);
