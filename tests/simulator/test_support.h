#pragma once
// Small checks the simulator's tests share.
#include <sys/types.h>

#include <string>

size_t countOf(const std::string& text, const std::string& part);

// The type and mode bits of what stands at `path` (not followed), 0 for nothing.
mode_t modeOf(const std::string& path);
