#pragma once
// A client that speaks the WM_COPYDATA wire format byte by byte, for tests
// of what a well-behaved client never sends. Every wait is bounded.
#include <win32/copydata_wire.h>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class TRawClient {
 public:
  explicit TRawClient(const std::string& path);
  ~TRawClient();
  TRawClient(const TRawClient&) = delete;
  TRawClient& operator=(const TRawClient&) = delete;

  bool connected() const { return connected_; }
  void hangUp();
  void send(const std::vector<unsigned char>& bytes);
  bool readable() const;
  // The next answer, or nothing when the connection ended first.
  std::optional<int32_t> answer();

  // A header and `dataBytes` bytes (cbData of them unless told otherwise).
  static std::vector<unsigned char> request(uint32_t dwData, uint32_t cbData, uint32_t message = W32_COPYDATA_MESSAGE,
                                            size_t dataBytes = SIZE_MAX);

 private:
  int fd_;
  bool connected_ = false;
};
