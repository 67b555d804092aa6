#include "hid_backend_fixture.h"

#include "standin_process.h"

const unsigned char RESET_PACKET[64] = {2, 0x01};

void THidBackendTest::Open(const TStandinEnv& env) {
  ASSERT_NO_FATAL_FAILURE(Start(env));
  ASSERT_EQ(hid_set_nonblocking(dev, 1), 0);
}

void THidBackendTest::QueueAnswers(int count) {
  for (int i = 0; i < count; ++i) ASSERT_EQ(hid_write(dev, RESET_PACKET, sizeof RESET_PACKET), 64);
  ASSERT_NO_FATAL_FAILURE(WaitIdle());
}

void THidBackendTest::WaitIdle() {
  using TWaitIdle = int (*)(unsigned);
  auto waitIdle = reinterpret_cast<TWaitIdle>(standin_function("qdxsim_wait_idle"));
  ASSERT_NE(waitIdle, nullptr);
  ASSERT_EQ(waitIdle(5000), 0) << "the stand-in did not answer";
}

size_t occurrences(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
  return count;
}
