#pragma once
#include <windows.h>

// The program's file version as "major.minor release:r build:b", or
// "<no version info>", in `buf` of `len` bytes; returns `buf`.
char* GetVersionInfo(HINSTANCE instance, char* buf, unsigned len);
