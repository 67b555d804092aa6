#include "raw_copydata_client.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

TRawClient::TRawClient(const std::string& path) : fd_(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
  const timeval limit{10, 0};
  setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof(limit));
  setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof(limit));
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
  connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
}

TRawClient::~TRawClient() { hangUp(); }

void TRawClient::hangUp() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

void TRawClient::send(const std::vector<unsigned char>& bytes) {
  ASSERT_EQ(::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size()));
}

bool TRawClient::readable() const {
  pollfd entry{fd_, POLLIN, 0};
  return poll(&entry, 1, 0) > 0;
}

std::optional<int32_t> TRawClient::answer() {
  unsigned char bytes[W32_COPYDATA_ANSWER_SIZE];
  if (recv(fd_, bytes, sizeof(bytes), MSG_WAITALL) != static_cast<ssize_t>(sizeof(bytes))) return std::nullopt;
  return static_cast<int32_t>(w32_getLittleEndian32(bytes));
}

std::vector<unsigned char> TRawClient::request(uint32_t dwData, uint32_t cbData, uint32_t message, size_t dataBytes) {
  std::vector<unsigned char> bytes(W32_COPYDATA_HEADER_SIZE + (dataBytes == SIZE_MAX ? cbData : dataBytes), 0x5A);
  w32_encodeCopyDataHeader({message, dwData, cbData}, bytes.data());
  return bytes;
}
