#include "hid_flush_buffers.h"

#include "hid_io.h"

namespace {
constexpr int max_drain_reads = 30;
constexpr size_t scratch_size = 64;
}  // namespace

extern "C" void hid_flush_buffers(hid_device* dev) {
  if (!dev) return;
  unsigned char scratch[scratch_size];
  for (int reads = 0; reads < max_drain_reads; ++reads) {
    if (hidio_read_now(dev, scratch, sizeof scratch) <= 0) break;
  }
}
