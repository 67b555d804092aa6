#pragma once
// Choosing a controller by the serial form of the destination: among the
// entries that pass the writer's own identity check, the n-th whose serial
// number equals the selection text (any entry when the text is empty).
#include <string>

struct TQDXSelection {
  std::wstring serial;  // empty: every controller passes
  int ordinal = 1;      // from 1
};

// destination: "/../?/qdx1://" followed by "<serial>[:<n>]". Only the first
// 9999 characters are read, and the serial is cut to 7999 wide characters.
TQDXSelection qdx_ParseSelection(const char* destination);

// Enumerates the controllers, naming each candidate on standard output, and
// answers the path of the selected one, or "" when none matches.
std::string qdx_SelectBySerial(const char* destination);
