#include "arguments.h"

#include <argp.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

TProgArguments prog_arguments;

// argp reads this name from the program: it must stay visible to the C library.
#if defined(_WIN32)
const char* argp_program_version = "qdx_tool 1.9.2 windows";
#else
__attribute__((visibility("default"))) const char* argp_program_version = "qdx_tool 1.9.2 linux";
#endif

namespace {

// Decimal; text that is no number gives 0, and a number past the range of
// int its nearest end.
int ordinal_of(const char* text) {
  const long value = std::strtol(text, nullptr, 10);
  return static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX));
}

const char args_doc[] = "[<input file>]";
const char doc[] = "Reads, sets status and programs Tolvane";

const argp_option options[] = {
    {"in_file", 'i', "<INFILE>", 0, "Input file", 0},
    {"test", 't', nullptr, 0, "Test something", 0},
    {"start", 'S', nullptr, 0, "Start Tolvane before exit", 0},
    {"stop", 'P', nullptr, 0, "Stop Tolvane as first step", 0},
    {"restart", 'r', nullptr, 0, "Restart Tolvane", 0},
    {"reset_diag", 'R', nullptr, 0, "Reset diagnostics status", 0},
    {"dev_num", 'n', "<QDX ordinal>", 0, "Ordinal number of multiple connected QDXs", 0},
    {nullptr, 0, nullptr, 0, nullptr, 0},
};

error_t parse_opt(int key, char* arg, argp_state* state) {
  auto* arguments = static_cast<TProgArguments*>(state->input);
  switch (key) {
    case 'i': arguments->in_file = arg; break;
    case 't': arguments->test = 1; break;
    case 'S': arguments->start = 1; break;
    case 'P': arguments->stop = 1; break;
    case 'r':
      arguments->stop = 1;
      arguments->start = 1;
      break;
    case 'R': arguments->reset_diag = 1; break;
    case 'n': arguments->dev_num = ordinal_of(arg); break;
    case ARGP_KEY_ARG:
      // The first input file named wins; later positional arguments are ignored.
      if (arguments->in_file.empty()) arguments->in_file = arg;
      break;
    default: return ARGP_ERR_UNKNOWN;
  }
  return 0;
}

const argp parser = {options, parse_opt, args_doc, doc, nullptr, nullptr, nullptr};

}  // namespace

int getArguments(int argc, char** argv) { return argp_parse(&parser, argc, argv, 0, nullptr, &prog_arguments); }
