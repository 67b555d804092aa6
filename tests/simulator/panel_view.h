#pragma once
// What the end-to-end tests see of the panel on either platform: its
// window, its buttons and the circuit-table dumps on its console.
#include <string>

#include "x_session.h"

const char* const sim_panelTitle = "Halden virtual machine for Tolvane";
const char* const sim_dumpEnd = "*****Circuit tables dump  end*****";

// Button centres in the window's client area.
const int sim_openTableX = 135, sim_openTableY = 65;
const int sim_dumpTableX = 185, sim_dumpTableY = 125;

// Clicks "Dump cycle table" in the session's panel and returns what it
// printed, the n-th dump of the session (counted from 1), from its start
// line up to its end line; a dump that does not come fails the test.
std::string sim_clickDump(const TXSession& session, const std::string& window, size_t n);
