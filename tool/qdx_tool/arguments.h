#pragma once
// The device tool's command line, parsed by GNU argp.
#include <cstdint>
#include <string>

struct TProgArguments {
  uint8_t stop = 0;        // -P, -r
  uint8_t start = 0;       // -S, -r
  uint8_t reset_diag = 0;  // -R
  int dev_num = 0;         // -n: 0-based ordinal among the listed controllers
  uint8_t test = 0;        // -t
  std::string in_file;     // -i or the first positional argument
};

extern TProgArguments prog_arguments;

// Fills prog_arguments; argp answers --help, --usage, --version and bad
// options itself (and ends the program for them).
int getArguments(int argc, char** argv);
