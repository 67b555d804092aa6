#include "test_loop.h"

#include <cstdint>
#include <cstdio>

#include "console_keys.h"
#include "hid_io.h"

namespace {

constexpr size_t REPORT_SIZE = 64;
// How long one read waits for the next report before the keys are looked at
// again: a controller that says nothing must not keep space from ending the loop.
constexpr int READ_WAIT_MS = 500;

unsigned word_at(const unsigned char* report, size_t offset) { return report[offset] | report[offset + 1] << 8; }

// Byte 0, the 32-bit value of bytes 1-4, then the 16-bit words from word 3
// on, eight to a line; byte 5 is not shown.
void print_report(const unsigned char* report, int count) {
  if (count >= 2) {
    const unsigned long head =
        report[1] | report[2] << 8 | report[3] << 16 | static_cast<unsigned long>(report[4]) << 24;
    std::printf("%02hx %010lx  ", static_cast<unsigned short>(report[0]), head);
    for (int i = 3; i < count / 2; ++i) {
      if (i % 8 == 0) std::printf("\n    ");
      std::printf("%04hx ", static_cast<unsigned short>(word_at(report, 2 * static_cast<size_t>(i))));
    }
  }
  std::printf("\n");
}

void put_word(unsigned char* report, size_t offset, unsigned value) {
  report[offset] = static_cast<unsigned char>(value & 0xFF);
  report[offset + 1] = static_cast<unsigned char>(value >> 8);
}

// The two test reports: id 1, the key's number, and one 16-bit value.
bool make_test_report(int key, unsigned char* report) {
  if (key != '1' && key != '2') return false;
  report[0] = 1;
  report[1] = key == '1' ? 1 : 2;
  if (key == '1')
    put_word(report, 20, 9998);
  else
    put_word(report, 6, 60536);
  return true;
}

}  // namespace

void qdx_runTestLoop(hid_device* device) {
  TConsoleKeys keys;
  for (;;) {
    const int key = keys.Waiting();
    if (key == ' ' || key == TConsoleKeys::END_OF_INPUT) break;
    unsigned char report[REPORT_SIZE] = {};
    const int count = hidio_read_timeout(device, report, REPORT_SIZE, READ_WAIT_MS);
    std::printf("\nR%d>", count);
    print_report(report, count);
    std::fflush(stdout);
    // A device that fails to read is gone; nothing more will come.
    if (count < 0) break;
    unsigned char out[REPORT_SIZE] = {};
    if (make_test_report(key, out)) {
      std::printf("\nW%d>", static_cast<int>(REPORT_SIZE));
      print_report(out, count);
      std::printf(" >>> %d\n", hidio_write(device, out, REPORT_SIZE));
      std::fflush(stdout);
    }
  }
}
