#include <windows.h>

struct HINSTANCE__ {};

namespace {
HINSTANCE__ program;
}

HMODULE GetModuleHandleA(LPCSTR) { return &program; }
