#pragma once
// The plug-in's last error message, read back through GetLastErrorMsg.

// Replaces the message; one that does not fit the buffer is cut and terminated.
void outplug_SetError(const char* format, ...) __attribute__((format(printf, 1, 2)));
const char* outplug_ErrorText();

// The texts that several places of the core and the writers set.
extern const char* const OUTPLUG_NULL_ASSIGNMENT;  // with the name of what was null
extern const char* const OUTPLUG_CANNOT_WRITE;     // with the destination
