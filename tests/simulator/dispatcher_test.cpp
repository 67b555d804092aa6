#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "dispatcher.h"

namespace {

// Every hook, recording its calls; what the getters give is set per case.
struct TRecorder {
  std::vector<std::string> calls;
  bool held = true;
  bool bit = false;
  short number = 0;
};
TRecorder recorder;

void note(const std::string& call) { recorder.calls.push_back(call); }
std::string text(const char* name) { return name ? name : "(null)"; }

const TSimHooks allHooks = {
    [](HWND, HINSTANCE) { note("initControls"); },
    [](HWND, unsigned short, unsigned short) { note("userInteraction"); },
    [](HWND) { note("destroyControls"); },
    [](tSIM_SETMODE_WPARAM mode, short value, const char* name) {
      note("setMode " + std::to_string(mode) + " " + std::to_string(value) + " " + text(name));
    },
    [](short value, const char* name) { note("startCycle " + std::to_string(value) + " " + text(name)); },
    [](bool flag) { note(std::string("endCycle ") + (flag ? "true" : "false")); },
    [](short value, const char* name) { note("simulationEntered " + std::to_string(value) + " " + text(name)); },
    [](const char* name, bool value) {
      note("setBit " + text(name) + (value ? " true" : " false"));
      return recorder.held;
    },
    [](const char* name, bool* out) {
      note("getBit " + text(name));
      *out = recorder.bit;
      return recorder.held;
    },
    [](const char* name, short value) {
      note("setInt " + text(name) + " " + std::to_string(value));
      return recorder.held;
    },
    [](const char* name, short* out) {
      note("getInt " + text(name));
      *out = recorder.number;
      return recorder.held;
    },
    [](const char* name, short* out, short value) {
      note("readADC " + text(name) + " " + std::to_string(*out) + " " + std::to_string(value));
      *out = recorder.number;
      return recorder.held;
    },
    [](const char* name, short value, int value2) {
      note("setPWM " + text(name) + " " + std::to_string(value) + " " + std::to_string(value2));
      return recorder.held;
    },
};
const TSimHooks noHooks = {};

struct TRequest {
  ULONG_PTR command;
  const char* name;
  int16_t value;
  int16_t value2;
  int32_t mode;
};

LRESULT send(const TSimHooks& hooks, const TRequest& request) {
  tSIM_COPYDATA record;
  std::memset(&record, 0, sizeof(record));
  std::strncpy(record.name, request.name, sizeof(record.name) - 1);
  record.value = request.value;
  record.value2 = request.value2;
  record.mode = request.mode;
  COPYDATASTRUCT data{request.command, sizeof(record), &record};
  return sim_dispatchRequest(hooks, &data);
}

struct TCase {
  const char* what;
  TRequest request;
  bool held;
  bool bit;
  short number;
  LRESULT answer;
  std::vector<std::string> calls;
};

void PrintTo(const TCase& c, std::ostream* out) { *out << c.what; }

class TDispatcherTest : public ::testing::TestWithParam<TCase> {
 protected:
  void SetUp() override { recorder = TRecorder{}; }
};

}  // namespace

TEST_P(TDispatcherTest, AnswersAndCallsTheHooks) {
  const TCase& c = GetParam();
  recorder.held = c.held;
  recorder.bit = c.bit;
  recorder.number = c.number;
  EXPECT_EQ(send(allHooks, c.request), c.answer);
  EXPECT_EQ(recorder.calls, c.calls);

  recorder.calls.clear();
  EXPECT_EQ(send(noHooks, c.request), 0) << "a missing hook answers 0";
  EXPECT_TRUE(recorder.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Commands, TDispatcherTest,
    ::testing::Values(
        TCase{"SetBitTrue", {1, "R_C_Rain", 1, 0, 0}, true, false, 0, 1, {"setBit R_C_Rain true"}},
        TCase{"SetBitReadsOnlyByte300", {1, "R_C_Rain", 256, 0, 0}, true, false, 0, 1, {"setBit R_C_Rain false"}},
        TCase{"SetBitUnknownName", {1, "nope", 1, 0, 0}, false, false, 0, 0, {"setBit nope true"}},
        TCase{"GetBitSet", {2, "R_C_Rain", 0, 0, 0}, true, true, 0, 0x10002, {"getBit R_C_Rain"}},
        TCase{"GetBitClear", {2, "R_C_Rain", 0, 0, 0}, true, false, 0, 0x10001, {"getBit R_C_Rain"}},
        TCase{"GetBitUnknownName", {2, "nope", 0, 0, 0}, false, true, 0, 0, {"getBit nope"}},
        TCase{"SetInt", {3, "_C_Time", -7, 0, 0}, true, false, 0, 1, {"setInt _C_Time -7"}},
        TCase{"SetIntUnknownName", {3, "nope", 1, 0, 0}, false, false, 0, 0, {"setInt nope 1"}},
        TCase{"GetIntMinusOne", {4, "_C_Time", 0, 0, 0}, true, false, -1, 0xFFFF, {"getInt _C_Time"}},
        TCase{"GetIntZero", {4, "_C_Time", 0, 0, 0}, true, false, 0, 0x10000, {"getInt _C_Time"}},
        TCase{"GetIntLowest", {4, "_C_Time", 0, 0, 0}, true, false, -32768, 0x8000, {"getInt _C_Time"}},
        TCase{"GetIntHighest", {4, "_C_Time", 0, 0, 0}, true, false, 32767, 0x17FFF, {"getInt _C_Time"}},
        TCase{"GetIntUnknownName", {4, "nope", 0, 0, 0}, false, false, 5, 0, {"getInt nope"}},
        TCase{"ReadAdc", {7, "adc1", 3, 0, 0}, true, false, -2, 0xFFFE, {"readADC adc1 0 3"}},
        TCase{"ReadAdcRefused", {7, "adc1", 3, 0, 0}, false, false, 9, 0, {"readADC adc1 0 3"}},
        TCase{"SetPwmSignExtendsValue2", {8, "pwm1", 10, -1, 0}, true, false, 0, 1, {"setPWM pwm1 10 -1"}},
        TCase{"SetPwmRefused", {8, "pwm1", 10, 2, 0}, false, false, 0, 0, {"setPWM pwm1 10 2"}},
        TCase{"ModeCycleStart", {0, "cyc", 9, 0, 4}, true, false, 0, 0, {"setMode 4 9 cyc", "startCycle 9 cyc"}},
        TCase{"ModeCycleEndTrue", {0, "", 256, 0, 5}, true, false, 0, 0, {"setMode 5 256 ", "endCycle true"}},
        TCase{"ModeCycleEndFalse", {0, "", 0, 0, 5}, true, false, 0, 0, {"setMode 5 0 ", "endCycle false"}},
        TCase{"ModeSimulationEntered",
              {0, "sim", 2, 0, 0},
              true,
              false,
              0,
              0,
              {"setMode 0 2 sim", "simulationEntered 2 sim"}},
        TCase{"ModeOne", {0, "", 0, 0, 1}, true, false, 0, 0, {"setMode 1 0 "}},
        TCase{"ModeSix", {0, "", 0, 0, 6}, true, false, 0, 0, {"setMode 6 0 "}},
        TCase{"ModeNegative", {0, "", 0, 0, -1}, true, false, 0, 0, {"setMode -1 0 "}},
        TCase{"CommandFive", {5, "_C_Time", 1, 0, 4}, true, false, 0, 0, {}},
        TCase{"CommandSix", {6, "_C_Time", 1, 0, 4}, true, false, 0, 0, {}},
        TCase{"CommandNine", {9, "_C_Time", 1, 0, 4}, true, false, 0, 0, {}},
        TCase{"CommandHuge", {0xFFFFFFFFu, "_C_Time", 1, 0, 4}, true, false, 0, 0, {}}),
    [](const ::testing::TestParamInfo<TCase>& info) { return std::string(info.param.what); });

TEST(TDispatcherRecords, RequestsOutsideTheRecordFormatAreRefusedUntouched) {
  struct TCase {
    const char* what;
    size_t bytes;  // what lpData holds
    DWORD cbData;
    bool unterminated;
    bool noData;
    LRESULT answer;
  };
  const TCase cases[] = {
      {"whole record", 308, 308, false, false, 1},
      {"longer than the record", 400, 400, false, false, 1},
      {"one byte short", 307, 307, false, false, 0},
      {"no data", 0, 308, false, true, 0},
      {"name without its zero byte", 308, 308, true, false, 0},
  };
  for (const TCase& c : cases) {
    recorder = TRecorder{};
    std::vector<unsigned char> record(c.bytes, 0);
    if (!record.empty())
      std::memcpy(record.data(), c.unterminated ? std::string(300, 'A').c_str() : "_C_Time", c.unterminated ? 300 : 7);
    if (record.size() > 300) record[300] = 1;
    COPYDATASTRUCT data{SIM_CMD_SETBIT, c.cbData, c.noData ? nullptr : record.data()};
    EXPECT_EQ(sim_dispatchRequest(allHooks, &data), c.answer) << c.what;
    EXPECT_EQ(recorder.calls.size(), c.answer ? 1u : 0u) << c.what;
  }
  EXPECT_EQ(sim_dispatchRequest(allHooks, nullptr), 0);
}
