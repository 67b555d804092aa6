#pragma once
// The writer's progress goes to standard output and is flushed at once, so
// that every step shows while the controller works on it.
void qdx_Say(const char* format, ...) __attribute__((format(printf, 1, 2)));
