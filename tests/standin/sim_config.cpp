#include "sim_config.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "sim_env.h"

namespace {

const char* const default_fw_date = "2024-03-18 stand-in build";
const char* const default_fw_signature = "QDXSIM-SIGNATURE";

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "qdx stand-in: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

std::string env(const char* name) {
  std::string value;
  return sim_env(name, value) ? value : std::string();
}

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator)) parts.push_back(part);
  if (!text.empty() && text.back() == separator) parts.emplace_back();
  return parts;
}

unsigned long number(const std::string& text, const char* name, unsigned long max) {
  char* end = nullptr;
  errno = 0;
  unsigned long value = std::strtoul(text.c_str(), &end, 0);
  // strtoul also takes a "-" after blanks and wraps the value: with a 32-bit
  // unsigned long, " -1" would pass as 0xFFFFFFFF. No minus sign anywhere.
  if (text.empty() || *end != '\0' || errno != 0 || value > max || text.find('-') != std::string::npos)
    fail(std::string("bad number '") + text + "' in " + name);
  return value;
}

unsigned env_number(const char* name, unsigned fallback, unsigned long max = 0xFFFFFFFFul) {
  std::string text = env(name);
  return text.empty() ? fallback : static_cast<unsigned>(number(text, name, max));
}

std::wstring widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// "@null" or "@missing": absent; "@ffff": four 0xFFFF characters (an unset descriptor).
TSimText text_token(const std::string& token) {
  TSimText text;
  if (token == "@null" || token == "@missing")
    text.present = false;
  else if (token == "@ffff")
    text.text = std::wstring(4, wchar_t(0xFFFF));
  else
    text.text = widen(token);
  return text;
}

TSimText env_text(const char* name, const char* fallback) {
  std::string value;
  return text_token(sim_env(name, value) ? value : fallback);
}

void add_ordinal(TSimOrdinals& ordinals, const std::string& value, const char* what) {
  if (value == "all")
    ordinals.all = true;
  else
    ordinals.which.insert(static_cast<unsigned>(number(value, what, 0xFFFFFFFFul)));
}

void add_command(std::set<std::string>& commands, const std::string& value) {
  static const std::set<std::string> known = {"info", "stop", "erase", "start", "close", "reset"};
  if (!known.count(value)) fail("unknown command '" + value + "' in QDXSIM_FAULTS");
  commands.insert(value);
}

void add_fault(TSimFaults& faults, const std::string& token) {
  const size_t colon = token.find(':');
  const std::string name = token.substr(0, colon);
  const std::string value = colon == std::string::npos ? "" : token.substr(colon + 1);
  const bool flag = colon == std::string::npos;
  if (flag && name == "silent")
    faults.silent = true;
  else if (flag && name == "chatty")
    faults.chatty = true;
  else if (flag && name == "busy_forever")
    faults.busyForever = true;
  else if (flag && name == "short_report")
    faults.shortReport = true;
  else if (flag && name == "short_only")
    faults.shortOnly = true;
  else if (flag && name == "foreign")
    faults.foreign = true;
  else if (flag && name == "deaf")
    faults.deaf = true;
  else if (flag && name == "flushqueue_keeps")
    faults.flushQueueKeeps = true;
  else if (flag && name == "unnumbered")
    faults.unnumbered = true;
  else if (!flag && name == "refuse")
    add_command(faults.refuse, value);
  else if (!flag && name == "misconfirm")
    add_command(faults.misconfirm, value);
  else if (!flag && name == "block_error")
    faults.blockErrors.insert(static_cast<unsigned>(number(value, "block_error", 0xFFFFFFFFul)));
  else if (!flag && name == "write_fail")
    add_ordinal(faults.writeFail, value, "write_fail");
  else if (!flag && name == "open_fail")
    add_ordinal(faults.openFail, value, "open_fail");
  else if (!flag && name == "preparsed_fail")
    add_ordinal(faults.preparsedFail, value, "preparsed_fail");
  else if (!flag && name == "caps_fail")
    add_ordinal(faults.capsFail, value, "caps_fail");
  else if (!flag && name == "vanish")
    faults.vanishAt = static_cast<unsigned>(number(value, "vanish", 0xFFFFFFFFul));
  else
    fail("unknown fault '" + token + "' in QDXSIM_FAULTS");
}

std::wstring default_serial(unsigned index) {
  wchar_t text[32];
  std::swprintf(text, 32, L"QDXSIM%04u", index + 1);
  return text;
}

}  // namespace

TSimConfig sim_default_config(unsigned controllers) {
  TSimConfig config;
  for (unsigned i = 0; i < controllers; ++i) {
    TSimControllerSetup setup;
    setup.serial.text = default_serial(i);
    config.controllers.push_back(setup);
  }
  config.fwDate = text_token(default_fw_date);
  config.fwSignature = text_token(default_fw_signature);
  return config;
}

TSimConfig sim_config_from_env() {
  TSimConfig config = sim_default_config(env_number("QDXSIM_COUNT", 1, 16));

  std::vector<std::string> serials = split(env("QDXSIM_SERIALS"), ',');
  std::vector<std::string> releases = split(env("QDXSIM_RELEASE"), ',');
  for (size_t i = 0; i < config.controllers.size(); ++i) {
    if (i < serials.size()) config.controllers[i].serial = text_token(serials[i]);
    // The last release given holds for the controllers after it.
    if (!releases.empty())
      config.controllers[i].release =
          static_cast<unsigned short>(number(releases[std::min(i, releases.size() - 1)], "QDXSIM_RELEASE", 0xFFFF));
  }
  config.fwDate = env_text("QDXSIM_FW_DATE", default_fw_date);
  config.fwSignature = env_text("QDXSIM_FW_SIGNATURE", default_fw_signature);

  config.running = env_number("QDXSIM_RUNNING", 1, 1) != 0;
  config.stopReason = env_number("QDXSIM_STOP_REASON", 0, 0xFFFF);
  config.flags = env_number("QDXSIM_FLAGS", config.flags, 0xFF);
  std::vector<std::string> cycles = split(env("QDXSIM_CYCLES"), ',');
  if (!cycles.empty() && cycles.size() != 4) fail("QDXSIM_CYCLES needs four numbers: set,avg,max,absmin");
  for (size_t i = 0; i < cycles.size(); ++i)
    config.cycles[i] = static_cast<unsigned>(number(cycles[i], "QDXSIM_CYCLES", 0xFFFF));
  std::vector<std::string> lengths = split(env("QDXSIM_REPORT_LENGTHS"), ',');
  if (!lengths.empty() && lengths.size() != 3) fail("QDXSIM_REPORT_LENGTHS needs three numbers: input,output,feature");
  for (size_t i = 0; i < lengths.size(); ++i)
    config.reportLengths[i] = static_cast<unsigned>(number(lengths[i], "QDXSIM_REPORT_LENGTHS", 0xFFFF));

  config.reporting = env_number("QDXSIM_REPORTING", 0, 1) != 0;
  config.reportMs = std::max(1u, env_number("QDXSIM_REPORT_MS", config.reportMs, 60000));
  config.busyMs = env_number("QDXSIM_BUSY_MS", config.busyMs, 60000);
  config.eraseMs = env_number("QDXSIM_ERASE_MS", config.eraseMs, 60000);
  config.readBoundMs = env_number("QDXSIM_READ_BOUND_MS", config.readBoundMs, 60000);

  for (const std::string& token : split(env("QDXSIM_FAULTS"), ',')) {
    if (!token.empty()) add_fault(config.faults, token);
  }
  if (config.faults.chatty) config.reportMs = 10;

  config.recordPath = env("QDXSIM_RECORD");
  config.flashPath = env("QDXSIM_FLASH_OUT");
  config.deviceDir = env("QDXSIM_DEVICE_DIR");
  config.pathPad = env_number("QDXSIM_PATH_PAD", 0, 100000);
  return config;
}
