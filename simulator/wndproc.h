#pragma once
#include <windows.h>

// The window procedure of class "Tolvane simulator".
LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
