#pragma once
// A case against controller 0 of the stand-in through the verbose build of
// the Windows backend, whose trace the case reads back.
#include <string>

#include "standin_testkit.h"
#include "stdout_capture.h"

// A reset packet: the controller answers it with one report and nothing else.
extern const unsigned char RESET_PACKET[64];

class THidBackendTest : public TStandinTest {
 protected:
  // Starts the stand-in with env, opens controller 0 and sets it to
  // non-blocking reads.
  void Open(const TStandinEnv& env = {});
  // Sends count reset packets and waits until their answers are in the pipe.
  void QueueAnswers(int count);
  // Waits until every report the controllers made is in its pipe.
  void WaitIdle();
};

// How often `part` occurs in `text`.
size_t occurrences(const std::string& text, const std::string& part);
