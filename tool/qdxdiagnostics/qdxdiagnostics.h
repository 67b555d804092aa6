#pragma once
// TQDXDiagIf speaks the controller's diagnostic protocol over one open HID
// device. It never opens or closes the device: the caller owns it.
#include <hidapi.h>

#include "diag_protocol.h"

class TQDXDiagIf {
 public:
  // Switches the device to non-blocking reads.
  explicit TQDXDiagIf(hid_device* dev);

  int GetLastResponseCode() const;
  void ClearDiagBufOut();

  // Up to count polls (250 without an argument): 64 at the first valid report, else -1.
  int GetDiagResponse(int count);
  int GetDiagResponse();

  bool FlushBuffers();
  bool WaitForDiagRespCode(DIAG_CONSTANTS code, unsigned ms);
  bool WaitDiagNotBusy(unsigned ms);
  // Waits for one further valid report; out receives the stored report either way.
  bool ReadResponse(TDiagResp* out);

  bool SendDiagBuffer(DIAG_CONSTANTS type, int len, bool wait);
  bool SendDiagBuffer(DIAG_CONSTANTS type, int len);
  bool ResetDiag();
  bool SetDiagMode(DIAG_CONSTANTS mode);
  // Up to DIAG_BUFFER_SIZE bytes as one data send.
  bool SendBuffer(const void* src, unsigned len);

 private:
  // Passed: an information report where another answer is waited for.
  enum class TPoll { Empty, Valid, Malformed, Foreign, Passed };
  // What became of a send.
  enum class TSent { Accepted, NotWritten, Unanswered, Refused };
  // Whether an information report is an answer to what is waited for: it
  // answers only DIAG_MODE_INFO.
  enum class TInformation { Answers, PassedOver };

  // One read; an empty one sleeps 1 ms.
  TPoll Poll(TInformation information);
  // One read that never sleeps.
  TPoll Take(TInformation information);
  void DrainQueued(TInformation information);
  bool PollForValid(int polls, TInformation information);
  bool Burst(TInformation information);
  TSent Send(DIAG_CONSTANTS type, int len, bool wait);
  TSent Acknowledgement(TInformation information);
  bool QuietAfterClose();
  bool Confirmed(DIAG_CONSTANTS mode);

  hid_device* dev;
  unsigned char diagBufOut[DIAG_BUFFER_SIZE];
  TDiagResp resp;
};
