#pragma once
// The controllers' side of the named pipes that stand for their devices: a
// thread of the process accepts every open of a device path, plays the
// exclusive open (the first message on a connection is its claim, answered
// with 0 or the Windows error of a refused open), hands the holder's reports
// to the controller model and writes the model's reports back as messages.
#include <windows.h>

#include <list>
#include <string>
#include <vector>

#include "sim_world.h"

// Every collection a controller offers, each a device path of its own:
// the diagnostic one the tool lists, and the interface the writer selects.
enum TStandinCollection : unsigned { STANDIN_DIAG = 0, STANDIN_INTERFACE = 1, STANDIN_COLLECTIONS = 2 };

// The pipe name of collection `collection` of the controller at `path`.
std::wstring standin_pipe_path(const std::string& path, unsigned collection);

class TPipeServer {
 public:
  // lock guards the world; the server takes it for every step.
  TPipeServer(TSimWorld& world, CRITICAL_SECTION* lock);
  ~TPipeServer();
  TPipeServer(const TPipeServer&) = delete;
  TPipeServer& operator=(const TPipeServer&) = delete;

  // With the lock held: the listening pipes of every controller exist when
  // this returns, and the thread serves them once the lock is let go.
  void Start();
  // Ends the thread (not at process exit: the system ends it then), then
  // closes every pipe.
  void Stop();
  // Ends the thread alone.
  void StopThread();

  // With the lock held: drops the reports the controller has made for its
  // holder and not yet written into the pipe.
  void DropUnwritten(int controller);
  // With the lock held: every report the holders wrote has been answered,
  // and every answer is in its pipe.
  bool Idle();
  // With the lock held: how many steps the server has taken. The system may
  // finish an operation only while the server's thread waits between steps.
  unsigned long Steps() const { return steps; }
  // At the program's exit, with the thread ended: records the close of every
  // holder whose program closed its end, and dumps the flash of those held.
  void EndOfProcess();

 private:
  struct TConnection;

  static DWORD WINAPI Run(void* self);
  void Step();
  void Listen(int controller, unsigned collection);
  void Serve(TConnection& connection);
  void OnMessage(TConnection& connection, DWORD length);
  void Claim(TConnection& connection);
  void WriteReports(TConnection& connection);
  bool ClientGone(TConnection& connection);
  // Closes the server's end; with release, a holder lets its controller go.
  void Drop(TConnection& connection, bool release = true);

  TSimWorld* world;
  CRITICAL_SECTION* lock;
  HANDLE thread = nullptr;
  HANDLE stop = nullptr;
  unsigned long steps = 0;
  std::list<TConnection> connections;
  std::vector<TConnection*> holders;
};
