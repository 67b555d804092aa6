#pragma once
// A TQDXDiagIf on controller 0 of the stand-in, with every report read and
// written counted through the HID layer's observer.
#include <memory>
#include <vector>

#include "hid_io.h"
#include "qdxdiagnostics.h"
#include "standin_testkit.h"

class TTrafficCounter : public THidObserver {
 public:
  void ReadStarted(hid_device*, size_t length) override;
  void WriteStarted(hid_device*, const unsigned char*, size_t) override;
  void Clear();

  int reads = 0;
  int writes = 0;
  std::vector<size_t> readLengths;
};

class TDiagTest : public TStandinTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Restarts the stand-in with env and makes the interface on its controller 0.
  void Open(const TStandinEnv& env = {});
  // Stops, erases and loads the image block by block as 132-byte load blocks.
  void Load(const std::vector<uint8_t>& image);
  // One further information report after entering diagnostic mode.
  TDiagResp Information();

  TTrafficCounter traffic;
  std::unique_ptr<TQDXDiagIf> diag;

 private:
  THidObserver* previous = nullptr;
};

// Milliseconds since t0 on the diagnostic code's own clock.
uint64_t ms_since(uint64_t t0);
