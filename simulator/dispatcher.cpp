#include "dispatcher.h"

#include <cstring>

namespace {

bool readRecord(const COPYDATASTRUCT& request, tSIM_COPYDATA& record) {
  if (!request.lpData || request.cbData < sizeof(tSIM_COPYDATA)) return false;
  if (!std::memchr(request.lpData, 0, SIM_NAME_SIZE)) return false;
  std::memcpy(&record, request.lpData, sizeof(record));
  return true;
}

LRESULT setMode(const TSimHooks& hooks, const tSIM_COPYDATA& record) {
  const auto mode = static_cast<tSIM_SETMODE_WPARAM>(record.mode);
  if (hooks.setMode) hooks.setMode(mode, record.value, record.name);
  if (mode == SIM_MODE_CYCLE_START) {
    if (hooks.startCycle) hooks.startCycle(record.value, record.name);
  } else if (mode == SIM_MODE_CYCLE_END) {
    if (hooks.endCycle) hooks.endCycle(record.value != 0);
  } else if (mode == SIM_MODE_SIMULATION_ENTERED) {
    if (hooks.simulationEntered) hooks.simulationEntered(record.value, record.name);
  }
  return 0;
}

LRESULT withValue(short value) { return SIM_ANSWER_BASE + static_cast<LRESULT>(value); }

}  // namespace

LRESULT sim_dispatchRequest(const TSimHooks& hooks, const COPYDATASTRUCT* request) {
  tSIM_COPYDATA record;
  if (!request || request->dwData > SIM_CMD_SETPWM || !readRecord(*request, record)) return 0;
  switch (request->dwData) {
    case SIM_CMD_SETMODE: return setMode(hooks, record);
    case SIM_CMD_SETBIT: {
      // Only the first byte of the value is the flag.
      const bool flag = reinterpret_cast<const unsigned char*>(&record)[offsetof(tSIM_COPYDATA, value)] != 0;
      return hooks.setBit && hooks.setBit(record.name, flag) ? 1 : 0;
    }
    case SIM_CMD_GETBIT: {
      bool bit = false;
      if (!hooks.getBit || !hooks.getBit(record.name, &bit)) return 0;
      return bit ? SIM_ANSWER_BASE + 2 : SIM_ANSWER_BASE + 1;
    }
    case SIM_CMD_SETINT: return hooks.setInt && hooks.setInt(record.name, record.value) ? 1 : 0;
    case SIM_CMD_GETINT: {
      short value = 0;
      return hooks.getInt && hooks.getInt(record.name, &value) ? withValue(value) : 0;
    }
    case SIM_CMD_READADC: {
      short value = 0;
      return hooks.readADC && hooks.readADC(record.name, &value, record.value) ? withValue(value) : 0;
    }
    case SIM_CMD_SETPWM: return hooks.setPWM && hooks.setPWM(record.name, record.value, record.value2) ? 1 : 0;
    default: return 0;
  }
}
