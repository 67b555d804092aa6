#include "report_trace.h"

#include <errno.h>

#include <cstdio>

namespace {

// "%02x " a byte, a new indented line after every 16th when more follow.
void print_bytes(const unsigned char* data, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    std::printf("%02x ", data[i]);
    if ((i + 1) % 16 == 0 && i + 1 < count) std::printf("\n    ");
  }
}

}  // namespace

void TReportTrace::ReadStarted(hid_device*, size_t length) {
  std::printf("hid_read %d bytes:", static_cast<int>(length));
}

void TReportTrace::ReadDone(hid_device*, const unsigned char* data, int result) {
  if (result <= 0) {
    std::printf(" bytes read %d exit\n", result < 0 ? -1 : 0);
    return;
  }
  const unsigned long count = static_cast<unsigned long>(result);
  std::printf("\nRD%lu>", count);
  print_bytes(data, count);
  std::printf(" bytes read %lu exit\n", count);
}

void TReportTrace::WriteStarted(hid_device*, const unsigned char* data, size_t length) {
  std::printf("\nWR%d>", static_cast<int>(length));
  if (data) print_bytes(data, length);
}

void TReportTrace::WriteDone(hid_device*, int result) {
  // Read at once, before printing can change it.
  const int error = errno;
  if (result < 0) std::printf("ErrWr:%d >>> -1\n", error);
}
