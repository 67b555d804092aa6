#pragma once
// The filter list of an open-file dialog ("All\0*.*\0Text (*.txt)\0*.txt\0\0")
// in the form FLTK's file chooser shows: "All (*.*)\tText (*.txt)". A name
// that already ends with its pattern in brackets is kept as it stands.
#include <string>

#include <win32/base_types.h>

std::string w32_fltkFileFilter(LPCSTR windowsFilter);
