#pragma once
// The simulated machine: named 16-bit integers and named bits that stand for
// the controller's surroundings, a simulated calendar that moves 89 seconds
// at every cycle end, and the panel's two buttons.
#include <windows.h>
#include <map>
#include <string>

using TSimIntegers = std::map<std::string, short>;
using TSimRelays = std::map<std::string, bool>;

// Names in byte order. Entries are only ever added.
extern TSimIntegers sim_integers;
extern TSimRelays sim_relays;

enum : unsigned short {
  SIM_ID_OPEN_TABLE = 2,
  SIM_ID_DUMP_TABLE = 3,
};

void sim_initControls(HWND window, HINSTANCE instance);
void sim_userInteraction(HWND control, unsigned short id, unsigned short code);
void sim_startCycle(short value, const char* name);
void sim_endCycle(bool flag);

// True when the machine holds the name; nothing is ever added by them.
bool sim_setBit(const char* name, bool value);
bool sim_getBit(const char* name, bool* out);
bool sim_setInt(const char* name, short value);
bool sim_getInt(const char* name, short* out);

// Writes the calendar integers from the simulated clock.
void simDateTimeToIntegers();
