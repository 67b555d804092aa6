#pragma once
// Marks a plain C function that a deliverable exports under its undecorated name.
#if defined(_WIN32)
#define TOLVANE_EXPORT extern "C" __declspec(dllexport)
#else
#define TOLVANE_EXPORT extern "C" __attribute__((visibility("default")))
#endif
