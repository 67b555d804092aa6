#include "hid_flush_buffers.h"

#include "hid_io.h"

namespace {
// Far more than the kernel keeps for a reader, so that every report received
// before the call goes; bounded all the same, so that a device that reports
// without pause cannot hold the caller.
constexpr long max_drain_reads = 1000000;
constexpr size_t scratch_size = 64;
}  // namespace

extern "C" void hid_flush_buffers(hid_device* dev) {
  if (!dev) return;
  unsigned char scratch[scratch_size];
  for (long reads = 0; reads < max_drain_reads; ++reads) {
    if (hidio_read_now(dev, scratch, sizeof scratch) <= 0) break;
  }
}
