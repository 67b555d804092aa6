#pragma once
// A child program whose standard input is a console: what it reads there as
// keys (_kbhit, _getch) is typed on the console.
#include "child_process.h"

namespace testkit {

// As RunChild, with request.input typed on a console of the child's own (a
// pseudo console) before the child starts; its standard output and error are
// pipes as with RunChild. The child runs under cmd, which gives it the
// console's input.
TChildRun RunChildOnConsole(const TChildRequest& request);

}  // namespace testkit
