#pragma once
// What the stand-in plays, read from its QDXSIM_* environment variables
// (README.md lists them).
#include <cstdint>
#include <set>
#include <string>
#include <vector>

// A string the device may lack: a missing one reads as a null pointer or a failed read.
struct TSimText {
  bool present = true;
  std::wstring text;
};

// 1-based ordinals of calls (opens, writes), or every one.
struct TSimOrdinals {
  bool all = false;
  std::set<unsigned> which;
  bool Contains(unsigned ordinal) const { return all || which.count(ordinal) != 0; }
};

struct TSimFaults {
  bool silent = false;               // answers nothing, sends nothing
  bool chatty = false;               // information reports every 10 ms from the first INFO on, never silent
  bool busyForever = false;          // busy without end after a load block
  bool shortReport = false;          // a 63-byte report with id 2 before every report
  bool shortOnly = false;            // every report cut to 63 bytes
  bool foreign = false;              // a report with id 3 after every report
  bool deaf = false;                 // takes no output report: writes fail (Linux) or pile up unread (Windows)
  std::set<std::string> refuse;      // commands answered with an error
  std::set<std::string> misconfirm;  // commands confirmed wrongly
  std::set<unsigned> blockErrors;    // 1-based load blocks since the last erase that fail
  TSimOrdinals writeFail;
  TSimOrdinals openFail;
  unsigned vanishAt = 0;         // the controller vanishes with this write of the process (1-based; 0 never)
  bool flushQueueKeeps = false;  // Windows: HidD_FlushQueue discards nothing
  bool unnumbered = false;       // Windows: every report reaches the host behind a 0 byte, as without report numbers
  TSimOrdinals preparsedFail;    // Windows: these opens fail at HidD_GetPreparsedData
  TSimOrdinals capsFail;         // Windows: these opens fail at HidP_GetCaps
};

struct TSimControllerSetup {
  TSimText serial;
  unsigned short release = 0x1102;
};

// What becomes of a report made while the host's queue of unread reports is
// full: Linux's hidraw takes no more (the oldest stay); a queue that drops
// its oldest (the Windows transport's, behind its pipe) makes room.
enum class TSimFullQueue { DropsOldest, TakesNoMore };

struct TSimConfig {
  std::vector<TSimControllerSetup> controllers;
  TSimText fwDate;
  TSimText fwSignature;
  bool running = true;
  unsigned stopReason = 0;
  unsigned flags = 0x01;
  unsigned cycles[4] = {10, 6, 8, 4};                    // set, average, maximum, absolute minimum
  TSimFullQueue fullQueue = TSimFullQueue::DropsOldest;  // set by the transport
  // In diagnostic mode from power-on, reporting as after DIAG_MODE_INFO.
  bool reporting = false;
  unsigned reportMs = 50;
  unsigned busyMs = 20;
  unsigned eraseMs = 30;
  unsigned readBoundMs = 500;
  unsigned reportLengths[3] = {64, 64, 0};  // Windows: input, output and feature report lengths
  TSimFaults faults;
  std::string recordPath;
  std::string flashPath;
  // Linux: the folder of the device nodes ("": one of the process's own).
  std::string deviceDir;
  size_t pathPad = 0;
};

// The configuration of a controller model without any variable set.
TSimConfig sim_default_config(unsigned controllers);

// Reads the environment; a malformed value ends the process with a message,
// since a test that misspells a fault would otherwise test something else.
TSimConfig sim_config_from_env();
