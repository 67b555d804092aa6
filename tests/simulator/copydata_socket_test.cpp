#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <win32/copydata_client.h>
#include <win32/copydata_server.h>
#include <win32/copydata_socket_path.h>
#include <win32/copydata_wire.h>
#include <chrono>
#include <cstring>
#include <future>
#include <optional>

#include "file_io.h"
#include "poll_watcher.h"
#include "raw_copydata_client.h"
#include "temp_dir.h"
#include "test_support.h"

namespace {

class TCopyDataServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = dir.File("Tolvane simulator");
    server = open(error);
    ASSERT_TRUE(server) << error;
  }

  std::unique_ptr<TW32CopyDataServer> open(std::string& reason, int stallLimitMs = TW32CopyDataServer::STALL_LIMIT_MS) {
    return TW32CopyDataServer::open(
        path, watcher,
        [this](uint32_t dwData, const std::vector<unsigned char>& data) {
          requests.push_back(dwData);
          if (onRequest) onRequest();
          return static_cast<int32_t>(dwData * 1000 + data.size()) * (dwData == 7 ? -1 : 1);
        },
        reason, stallLimitMs);
  }

  // Pumps the server while a well-behaved client sends one request.
  std::optional<int32_t> sendAsAClient(uint32_t dwData, int timeoutMs) {
    auto answer = std::async(std::launch::async, [&]() -> std::optional<int32_t> {
      int32_t result = 0;
      if (!w32_copyDataSend(path, dwData, nullptr, 0, result, timeoutMs)) return std::nullopt;
      return result;
    });
    watcher.pumpUntil([&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
                      timeoutMs + 5000);
    return answer.get();
  }

  std::optional<int32_t> answerOf(TRawClient& client) {
    watcher.pumpUntil([&] { return client.readable(); });
    return client.answer();
  }

  testkit::TTempDir dir;
  std::string path, error;
  TPollWatcher watcher;
  std::unique_ptr<TW32CopyDataServer> server;
  std::vector<uint32_t> requests;
  std::function<void()> onRequest;
};

}  // namespace

TEST(TCopyDataSocketPath, FolderOfThisUserAlone) {
  testkit::TTempDir tmp;
  const std::string folder = tmp.File("tolvane-" + std::to_string(getuid()));
  std::string error;
  EXPECT_EQ(w32_copyDataSocketFolder("/run/user/1", tmp.Path(), getuid(), true, error), "/run/user/1");
  EXPECT_EQ(w32_copyDataSocketFolder(nullptr, tmp.Path(), getuid(), false, error), "") << "not made for a client";
  EXPECT_EQ(w32_copyDataSocketFolder("", tmp.Path(), getuid(), true, error), folder) << "an empty variable is unset";
  EXPECT_EQ(modeOf(folder) & 07777, 0700u);

  chmod(folder.c_str(), 0755);
  EXPECT_EQ(w32_copyDataSocketFolder(nullptr, tmp.Path(), getuid(), false, error), "") << "open to others: refused";
  EXPECT_EQ(w32_copyDataSocketFolder(nullptr, tmp.Path(), getuid(), true, error), folder);
  EXPECT_EQ(modeOf(folder) & 07777, 0700u) << "narrowed by the server";

  rmdir(folder.c_str());
  ASSERT_EQ(symlink(tmp.Path().c_str(), folder.c_str()), 0);
  EXPECT_EQ(w32_copyDataSocketFolder(nullptr, tmp.Path(), getuid(), true, error), "") << "a link is not our folder";
  unlink(folder.c_str());
  testkit::WriteFile(folder, "x");
  EXPECT_EQ(w32_copyDataSocketFolder(nullptr, tmp.Path(), getuid(), true, error), "");
  EXPECT_EQ(w32_copyDataSocketFolder(nullptr, tmp.Path(), getuid() + 1, true, error), "") << "another user's";
}

TEST(TCopyDataSocketPath, ClassNameBecomesAFileName) {
  testkit::TTempDir runtime;
  setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
  std::string error;
  EXPECT_EQ(w32_copyDataSocketPath("Tolvane simulator", true, error), runtime.File("Tolvane simulator"));
  for (const char* wrong : {"", "../escape", "a/b"}) EXPECT_EQ(w32_copyDataSocketPath(wrong, true, error), "") << wrong;
  EXPECT_EQ(w32_copyDataSocketPath(nullptr, true, error), "");
  EXPECT_EQ(w32_copyDataSocketPath(std::string(120, 'c').c_str(), true, error), "") << error;
}

TEST_F(TCopyDataServerTest, SocketIsOfThisUserAloneAndGoesAtClose) {
  const mode_t oldMask = umask(0);
  std::string reason;
  server.reset();
  server = open(reason);
  umask(oldMask);
  ASSERT_TRUE(server) << reason;
  EXPECT_TRUE(S_ISSOCK(modeOf(path)));
  EXPECT_EQ(modeOf(path) & 07777, 0600u);
  server->close();
  EXPECT_EQ(modeOf(path), 0u);
}

TEST_F(TCopyDataServerTest, AnswersRequestsInOrderOnOneConnection) {
  TRawClient client(path);
  ASSERT_TRUE(client.connected());
  std::vector<unsigned char> both = TRawClient::request(3, 308);
  const std::vector<unsigned char> second = TRawClient::request(7, 0);
  both.insert(both.end(), second.begin(), second.end());
  client.send(both);
  EXPECT_EQ(answerOf(client), 3308);
  EXPECT_EQ(answerOf(client), -7000) << "a negative answer keeps its sign";
  EXPECT_EQ(requests, (std::vector<uint32_t>{3, 7}));
}

TEST_F(TCopyDataServerTest, ClientSendsRecordsOfAnySizeUpToTheLimit) {
  const std::vector<unsigned char> data(W32_COPYDATA_MAX_DATA + 1, 1);
  for (const uint32_t size : {308u, 4097u, 100000u, W32_COPYDATA_MAX_DATA}) {
    auto answer = std::async(std::launch::async, [&] {
      int32_t result = 0;
      return w32_copyDataSend(path, 2, data.data(), size, result, 5000) ? result : -1;
    });
    watcher.pumpUntil([&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
    EXPECT_EQ(answer.get(), static_cast<int32_t>(2000 + size)) << "the whole record of " << size << " bytes";
  }

  int32_t result = 0;
  EXPECT_FALSE(w32_copyDataSend(path, 2, data.data(), W32_COPYDATA_MAX_DATA + 1, result, 1000))
      << "above the limit, not sent";
  EXPECT_FALSE(w32_copyDataSend(dir.File("nobody"), 2, data.data(), 1, result, 1000));
  EXPECT_FALSE(w32_copyDataProbe(dir.File("nobody")));
  EXPECT_EQ(requests.size(), 4u);
}

TEST_F(TCopyDataServerTest, RecordAboveTheLimitIsReadToItsEndAndAnsweredZero) {
  TRawClient client(path);
  std::vector<unsigned char> bytes = TRawClient::request(3, W32_COPYDATA_MAX_DATA + 1);
  const std::vector<unsigned char> next = TRawClient::request(4, 308);
  bytes.insert(bytes.end(), next.begin(), next.end());
  // More than the socket holds: sent while the server is served.
  auto sent = std::async(std::launch::async, [&] { client.send(bytes); });
  EXPECT_EQ(answerOf(client), 0) << "refused, not dropped";
  EXPECT_EQ(answerOf(client), 4308) << "the same connection goes on";
  sent.get();
  EXPECT_EQ(requests, std::vector<uint32_t>{4}) << "the refused record reaches no window";
}

TEST_F(TCopyDataServerTest, AnotherMessageThanCopyDataClosesItsConnectionOnly) {
  {
    TRawClient client(path);
    client.send(TRawClient::request(1, 8, 0x0010));
    EXPECT_EQ(answerOf(client), std::nullopt);
  }
  EXPECT_TRUE(requests.empty());
  TRawClient next(path);
  next.send(TRawClient::request(4, 308));
  EXPECT_EQ(answerOf(next), 4308) << "the server goes on";
}

TEST_F(TCopyDataServerTest, ClientThatHangsUpBeforeItsAnswerDoesNotEndTheServer) {
  {
    TRawClient client(path);
    client.send(TRawClient::request(1, 308));
    client.hangUp();
  }
  watcher.pumpUntil([&] { return !requests.empty(); });
  watcher.pumpUntil([&] { return server->connectionCount() == 0; });
  EXPECT_EQ(requests, std::vector<uint32_t>{1}) << "a request that came in full is still served";
  TRawClient next(path);
  next.send(TRawClient::request(2, 0));
  EXPECT_EQ(answerOf(next), 2000);
}

TEST_F(TCopyDataServerTest, SlowClientDoesNotHoldUpOthers) {
  TRawClient slow(path);
  const std::vector<unsigned char> bytes = TRawClient::request(5, 308);
  slow.send(std::vector<unsigned char>(bytes.begin(), bytes.begin() + 7));
  watcher.pumpUntil([&] { return server->connectionCount() == 1; });

  TRawClient quick(path);
  quick.send(TRawClient::request(6, 0));
  EXPECT_EQ(answerOf(quick), 6000);
  EXPECT_FALSE(slow.readable());

  slow.send(std::vector<unsigned char>(bytes.begin() + 7, bytes.end()));
  EXPECT_EQ(answerOf(slow), 5308);
}

TEST_F(TCopyDataServerTest, StaleSocketIsTakenOverButALiveOneOrAFileIsNot) {
  std::string reason;
  EXPECT_FALSE(open(reason)) << "a running server keeps its socket";
  EXPECT_NE(reason.find("another running process"), std::string::npos) << reason;
  TRawClient stillServed(path);
  stillServed.send(TRawClient::request(1, 0));
  EXPECT_EQ(answerOf(stillServed), 1000);

  // A server that ended without removing its socket file.
  server.reset();
  const int stale = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
  ASSERT_EQ(bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  close(stale);
  ASSERT_TRUE(S_ISSOCK(modeOf(path)));
  server = open(reason);
  ASSERT_TRUE(server) << reason;
  TRawClient client(path);
  client.send(TRawClient::request(2, 0));
  EXPECT_EQ(answerOf(client), 2000);

  server.reset();
  testkit::WriteFile(path, "not a socket");
  EXPECT_FALSE(open(reason));
  EXPECT_EQ(testkit::ReadFile(path), "not a socket") << "never removed";
}

TEST_F(TCopyDataServerTest, ClosingWhileServingDropsTheAnswer) {
  onRequest = [this] { server->close(); };
  TRawClient client(path);
  client.send(TRawClient::request(1, 0));
  EXPECT_EQ(answerOf(client), std::nullopt);
  EXPECT_EQ(modeOf(path), 0u);
  EXPECT_EQ(server->connectionCount(), 0u);
}

TEST_F(TCopyDataServerTest, ANewClientOverTheLimitTakesThePlaceOfTheLongestIdle) {
  std::vector<std::unique_ptr<TRawClient>> clients;
  for (size_t i = 0; i < TW32CopyDataServer::MAX_CONNECTIONS; ++i) {
    clients.push_back(std::make_unique<TRawClient>(path));
    clients.back()->send(TRawClient::request(1, 0));
    ASSERT_EQ(answerOf(*clients.back()), 1000) << i;
  }
  TRawClient next(path);
  next.send(TRawClient::request(2, 0));
  EXPECT_EQ(answerOf(next), 2000);
  EXPECT_EQ(server->connectionCount(), TW32CopyDataServer::MAX_CONNECTIONS);
  EXPECT_EQ(clients[0]->answer(), std::nullopt) << "the longest idle was closed";
  EXPECT_FALSE(clients[1]->readable()) << "the others stay";
}

// A stalled client: nothing at all, part of a header, or a header without
// all of its data.
std::vector<unsigned char> stalledRequest(size_t i) {
  const std::vector<unsigned char> whole = TRawClient::request(1, 308);
  const size_t sent[] = {0, 7, W32_COPYDATA_HEADER_SIZE + 100};
  return std::vector<unsigned char>(whole.begin(), whole.begin() + sent[i % 3]);
}

class TStalledClients : public TCopyDataServerTest, public ::testing::WithParamInterface<size_t> {};

TEST_P(TStalledClients, CannotKeepAClientFromItsAnswer) {
  std::vector<std::unique_ptr<TRawClient>> stalled;
  for (size_t i = 0; i < GetParam(); ++i) {
    stalled.push_back(std::make_unique<TRawClient>(path));
    ASSERT_TRUE(stalled.back()->connected()) << i;
    if (!stalledRequest(i).empty()) stalled.back()->send(stalledRequest(i));
    watcher.pumpUntil([] { return false; }, 0);
  }
  watcher.pumpUntil([] { return false; }, 50);
  EXPECT_EQ(sendAsAClient(3, 2000), 3000) << "answered within 2 s";
  EXPECT_TRUE(requests == std::vector<uint32_t>{3}) << "no stalled request was served";
}

INSTANTIATE_TEST_SUITE_P(Connections, TStalledClients, ::testing::Values(TW32CopyDataServer::MAX_CONNECTIONS, 200),
                         [](const auto& info) { return std::to_string(info.param) + "_stalled"; });

TEST_F(TCopyDataServerTest, ConnectionWithoutACompletedRequestIsClosedAfterTheStallLimit) {
  server.reset();
  server = open(error, 300);
  ASSERT_TRUE(server) << error;
  TRawClient stalled(path);
  stalled.send(stalledRequest(2));
  TRawClient working(path);
  TRawClient idleAfterItsAnswer(path);
  idleAfterItsAnswer.send(TRawClient::request(2, 0));
  EXPECT_EQ(answerOf(idleAfterItsAnswer), 2000);
  // One request every 100 ms keeps a connection open well past the limit.
  for (int i = 0; i < 10; ++i) {
    working.send(TRawClient::request(4, 0));
    EXPECT_EQ(answerOf(working), 4000) << i;
    watcher.pumpUntil([] { return false; }, 100);
  }
  EXPECT_TRUE(watcher.pumpUntil([&] { return stalled.readable() && idleAfterItsAnswer.readable(); }));
  EXPECT_EQ(stalled.answer(), std::nullopt) << "closed without an answer";
  EXPECT_EQ(idleAfterItsAnswer.answer(), std::nullopt);
  EXPECT_EQ(server->connectionCount(), 1u);
}
