// Loads each awkward circuit-table file with this platform's profile reader
// and writes what the panel then shows, for the comparison of the Windows
// and the Linux build (windows/compare_tables.sh):
//
//   table_dumps <folder>
//
// For each file, <name>.ini (the file itself) and <name>.dump: the panel's
// dump after loading it, then "read as missing:" and a line for each cell
// that the reader, asked with another default, answers with that default.
#include <windows.h>
#include <cstdio>
#include <string>

#include "P_C_Table.h"
#include "awkward_tables.h"
#include "file_io.h"
#include "stdout_capture.h"
#if defined(_WIN32)
#include "windows_path.h"
#endif

namespace {

const INT otherDefault = 4242;

template <size_t N>
std::string missingCells(const char* file, const char* const (&names)[N]) {
  std::string missing;
  for (const char* name : names) {
    for (int row = 1; row <= PCT_ROWS; ++row) {
      char key[64];
      snprintf(key, sizeof(key), "%s_%02d", name, row);
      if (GetPrivateProfileIntA(PCT_SECTION, key, otherDefault, file) == static_cast<UINT>(otherDefault))
        missing += std::string("\t") + key + "\n";
    }
  }
  return missing;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
#if defined(_WIN32)
  const std::string folder = testkit::WindowsPath(argv[1]) + "\\";
#else
  const std::string folder = std::string(argv[1]) + "/";
#endif
  for (const TAwkwardTable& table : sim_awkwardTables()) {
    const std::string file = folder + table.name + ".ini";
    testkit::WriteFile(file, table.bytes);
    std::string dump;
    {
      testkit::TStdoutCapture captured;
      if (!pct_loadCircuitTable(file.c_str())) {
        std::fprintf(stderr, "%s: not loaded\n", file.c_str());
        return 1;
      }
      pct_dumpCircuitTable();
      dump = captured.Text();
    }
    dump += "read as missing:\n" + missingCells(file.c_str(), C_parameters_int) +
            missingCells(file.c_str(), C_parameters_bit) + missingCells(file.c_str(), P_parameters_int) +
            missingCells(file.c_str(), P_parameters_bit);
    testkit::WriteFile(folder + table.name + ".dump", dump);
  }
  return 0;
}
