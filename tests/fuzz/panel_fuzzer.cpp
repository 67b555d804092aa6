// The simulator panel's request path: WM_COPYDATA to the window procedure
// with any command, record size and bytes, and the same requests over the
// socket wire format through the real server (12-byte header and body, sent
// in chunks, cut short, closed mid-request). Every answer is one that its
// command can give (0 to a record above the size limit), and every complete
// request before a header of another message is answered, in order.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <win32/clock_source.h>
#include <win32/copydata_server.h>
#include <win32/copydata_wire.h>
#include <windows.h>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "P_C_Table.h"
#include "fuzz_input.h"
#include "fuzz_support.h"
#include "poll_watcher.h"
#include "simcopydata.h"
#include "virtmachine.h"
#include "wndproc.h"

namespace {

const char* const kNames[] = {"_C_Time", "R_C_Rain", "_Period_Number", "cal_Year", "cal_DOW", "R_P_Monday_E", "x", ""};
constexpr size_t kMaxClients = 8;
constexpr int kServeRounds = 10000;

TPollWatcher watcher;
std::unique_ptr<TW32CopyDataServer> server;

bool answerFits(uint32_t command, int32_t answer) {
  switch (command) {
    case SIM_CMD_SETBIT:
    case SIM_CMD_SETINT: return answer == 0 || answer == 1;
    case SIM_CMD_GETBIT: return answer == 0 || answer == SIM_ANSWER_BASE + 1 || answer == SIM_ANSWER_BASE + 2;
    case SIM_CMD_GETINT: return answer == 0 || (answer >= SIM_ANSWER_BASE - 32768 && answer <= SIM_ANSWER_BASE + 32767);
    default: return answer == 0;  // this machine has no analog inputs, no PWM and no mode answers
  }
}

int32_t windowProcedure(uint32_t command, const void* data, uint32_t size) {
  COPYDATASTRUCT request{command, size, const_cast<void*>(data)};
  const int32_t answer = static_cast<int32_t>(WndProc(nullptr, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&request)));
  if (!answerFits(command, answer)) fuzz_fail("an answer its command can give");
  return answer;
}

// A request record: a known name with values, or bytes of the input, of
// any size.
std::vector<unsigned char> requestData(TFuzzInput& in) {
  if (in.flag()) {
    tSIM_COPYDATA record;
    std::memset(&record, 0, sizeof record);
    std::strcpy(record.name, in.pick(kNames));
    record.value = static_cast<int16_t>(in.u16());
    record.value2 = static_cast<int16_t>(in.u16());
    record.mode = in.flag() ? static_cast<int32_t>(in.below(7)) : static_cast<int32_t>(in.u32());
    std::vector<unsigned char> data(reinterpret_cast<unsigned char*>(&record),
                                    reinterpret_cast<unsigned char*>(&record) + sizeof record);
    if (in.below(4) == 0) data.resize(in.u16() % 400, 0);
    return data;
  }
  const std::string bytes = in.text(in.flag() ? 320 : W32_COPYDATA_MAX_DATA + 16);
  return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

uint32_t command(TFuzzInput& in) { return in.flag() ? static_cast<uint32_t>(in.below(10)) : in.u32(); }

void directRequest(TFuzzInput& in) {
  const uint32_t cmd = command(in);
  const std::vector<unsigned char> data = requestData(in);
  // A buffer of exactly the given size, so that reading past it is caught.
  std::unique_ptr<unsigned char[]> exact(new unsigned char[data.size() + 1]);
  if (!data.empty()) std::memcpy(exact.get(), data.data(), data.size());
  const bool none = in.below(16) == 0;
  windowProcedure(cmd, none ? nullptr : exact.get(), static_cast<uint32_t>(data.size()));
}

void serve() {
  for (int round = 0; round < kServeRounds; ++round)
    if (!watcher.serveOnce(0)) return;
  fuzz_fail("the server comes to rest");
}

// One client of the server, and what it expects to be answered.
class TClient {
 public:
  TClient() : fd_(socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, server->path().c_str(), sizeof(address.sun_path) - 1);
    if (fd_ < 0 || connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
      fuzz_fail("a client connects");
  }
  ~TClient() { close(fd_); }
  TClient(const TClient&) = delete;
  TClient& operator=(const TClient&) = delete;

  void send(const std::vector<unsigned char>& bytes, TFuzzInput& in) {
    if (!writing_) return;
    for (size_t at = 0; at < bytes.size();) {
      const size_t chunk = std::min(bytes.size() - at, in.flag() ? bytes.size() : 1 + in.below(64));
      const ssize_t n = ::send(fd_, bytes.data() + at, chunk, MSG_NOSIGNAL | MSG_DONTWAIT);
      if (n <= 0) return;  // the server has closed the connection
      sent_.insert(sent_.end(), bytes.data() + at, bytes.data() + at + n);
      at += static_cast<size_t>(n);
      serve();
      receive();
    }
  }

  // Stops sending: the server answers what came in full, then closes.
  void hangUp() {
    shutdown(fd_, SHUT_WR);
    writing_ = false;
    serve();
    receive();
    if (answers_.size() != expectedAnswers()) fuzz_fail("every complete request is answered");
  }

 private:
  void receive() {
    unsigned char bytes[256];
    for (;;) {
      const ssize_t n = recv(fd_, bytes, sizeof bytes, MSG_DONTWAIT);
      if (n <= 0) break;
      received_.insert(received_.end(), bytes, bytes + n);
    }
    while (received_.size() >= W32_COPYDATA_ANSWER_SIZE) {
      answers_.push_back(static_cast<int32_t>(w32_getLittleEndian32(received_.data())));
      received_.erase(received_.begin(), received_.begin() + W32_COPYDATA_ANSWER_SIZE);
    }
    if (answers_.size() > expectedAnswers()) fuzz_fail("no answer without a complete request");
    for (size_t i = checked_; i < answers_.size(); ++i)
      if (commands_[i].refused ? answers_[i] != 0 : !answerFits(commands_[i].command, answers_[i]))
        fuzz_fail("an answer its command can give, over the socket; 0 to a record above the limit");
    checked_ = answers_.size();
  }

  // The complete requests sent before the first header of another message.
  size_t expectedAnswers() {
    commands_.clear();
    for (size_t at = 0; sent_.size() - at >= W32_COPYDATA_HEADER_SIZE;) {
      const TW32CopyDataHeader header = w32_decodeCopyDataHeader(sent_.data() + at);
      if (header.message != W32_COPYDATA_MESSAGE) break;
      if (sent_.size() - at - W32_COPYDATA_HEADER_SIZE < header.cbData) break;
      commands_.push_back({header.dwData, header.cbData > W32_COPYDATA_MAX_DATA});
      at += W32_COPYDATA_HEADER_SIZE + header.cbData;
    }
    return commands_.size();
  }

  int fd_;
  bool writing_ = true;
  std::vector<unsigned char> sent_, received_;
  struct TSent {
    uint32_t command;
    bool refused;  // a record above the limit
  };
  std::vector<TSent> commands_;
  std::vector<int32_t> answers_;
  size_t checked_ = 0;
};

// A request as a client writes it, or a header that says something else.
std::vector<unsigned char> wireRequest(TFuzzInput& in) {
  const uint32_t cmd = command(in);
  std::vector<unsigned char> data = requestData(in);
  TW32CopyDataHeader header{W32_COPYDATA_MESSAGE, cmd, static_cast<uint32_t>(data.size())};
  if (in.below(8) == 0) header.message = in.u32();
  if (in.below(8) == 0) header.cbData = in.flag() ? in.u16() : in.u32();
  std::vector<unsigned char> bytes(W32_COPYDATA_HEADER_SIZE);
  w32_encodeCopyDataHeader(header, bytes.data());
  bytes.insert(bytes.end(), data.begin(), data.end());
  return bytes;
}

void restartMachine() {
  sim_integers.clear();
  sim_relays.clear();
  for (TCircuitTable* table : {&cycleTable_int, &cycleTable_bit, &periodTable_int, &periodTable_bit}) table->clear();
  selectedRowCycleTable = selectedRowPeriodTable = 0;
  CREATESTRUCTA creation{};
  WndProc(nullptr, WM_CREATE, 0, reinterpret_cast<LPARAM>(&creation));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_silenceStdout();
  // A fixed calendar, so that an input does the same every time.
  w32_setClockSource([](LPSYSTEMTIME time) { *time = SYSTEMTIME{2026, 3, 0, 1, 14, 30, 15, 250}; });
  std::string error;
  server = TW32CopyDataServer::open(
      fuzz_tempPath("panel.sock"), watcher,
      [](uint32_t dwData, std::vector<unsigned char>& data) {
        // As the panel's window receives it: the record, none when empty.
        return windowProcedure(dwData, data.empty() ? nullptr : data.data(), static_cast<uint32_t>(data.size()));
      },
      error);
  if (!server) fuzz_fail(error.c_str());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TFuzzInput in(data, size);
  restartMachine();
  std::vector<std::unique_ptr<TClient>> clients;
  while (!in.empty()) {
    switch (in.below(4)) {
      case 0: directRequest(in); break;
      case 1:
        if (clients.size() < kMaxClients) clients.push_back(std::make_unique<TClient>());
        serve();
        break;
      case 2:
        if (!clients.empty()) {
          TClient& client = *clients[in.below(clients.size())];
          client.send(wireRequest(in), in);
        }
        break;
      default:
        if (!clients.empty()) {
          const size_t which = in.below(clients.size());
          if (in.flag())
            clients[which]->hangUp();
          else
            clients.erase(clients.begin() + static_cast<long>(which));  // closed mid-request
          serve();
        }
        break;
    }
  }
  clients.clear();
  serve();
  if (server->connectionCount() != 0) fuzz_fail("closed connections are let go");
  return 0;
}
