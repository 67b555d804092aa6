#pragma once
// What hid.dll does on a program's own end of a controller's pipe: the
// claim that plays the exclusive open, and the discarding of the reports
// waiting in the pipe that plays HidD_FlushQueue.
#include <windows.h>

// Sends the claim and waits for its answer: ERROR_SUCCESS, or the Windows
// error of a refused open. Switches the end to reading one report a read.
DWORD standin_claim(HANDLE handle);

// Reads and drops every report waiting in the pipe.
void standin_discard_waiting(HANDLE handle);
