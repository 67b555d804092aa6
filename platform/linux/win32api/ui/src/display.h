#pragma once
// Opens FLTK's connection to the display, first making sure there is one:
// FLTK itself ends the process when it finds none.
bool w32_openDisplay();
