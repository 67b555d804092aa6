#pragma once
// Progress lines of the device tool and the device writer go out at once, so
// that a prompt shows while its step runs; both print on one standard output.
void console_say(const char* format, ...) __attribute__((format(printf, 1, 2)));
