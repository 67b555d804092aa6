#include "tool_texts.h"

namespace tooltest {

const char* const OPENED = "Opening device... OK\n";
const char* const CLOSED = "Closing diag... OK\n";

std::string Listed(const std::string& serial, bool selected) {
  return "  Manufacturer:  Tolvane\n"
         "  Product:       QDX controller stand-in\n"
         "  Release:       1102\n"
         "  serial_number: " +
         serial + "\n" + (selected ? " *** Selected Tolvane instance.\n" : "") + "\n\n";
}

namespace {

const char* truth(bool value) { return value ? "TRUE" : "FALSE"; }

std::string strings(const TStatus& s) {
  return "  FW build date: " + s.buildDate + "\n  FW verification signature: " + s.signature + "\n";
}

}  // namespace

TStatus Stopped(const std::string& reason) {
  TStatus status;
  status.running = false;
  status.stopReason = reason;
  return status;
}

std::string Dump(const TStatus& s) {
  std::string text = strings(s) + "Entering diag mode... OK\nReading diag response... OK\nTolvane information:\n";
  text += std::string("  Is running?              ") + truth(s.running) + "\n";
  if (!s.running) text += "    Stop reason:             " + s.stopReason + "\n";
  text += std::string("  Is shipped ladder?       ") + truth(s.shipped) + "\n";
  text += std::string("  Is USB send pending?     ") + truth(s.sendPending) + "\n";
  text += std::string("  Is cycle timing error?   ") + truth(s.timingError) + "\n";
  text += "  Set cycle:               " + std::to_string(s.setCycle) + "\n";
  text += "  Max cycle:               " + std::to_string(s.maxCycle) + "\n";
  text += "  Avg cycle:               " + std::to_string(s.avgCycle) + "\n";
  text += "  Abolute min. cycle:      " + std::to_string(s.absMinCycle) + "\n";
  return text;
}

std::string Programming(const TPlugins& plugins, const std::string& file, const std::string& devicePath,
                        size_t imageSize) {
  return "Loading input library '" + plugins.input + "'...  OK\nLoading output library '" + plugins.output +
         "'...  OK\nAttaching " + plugins.input + " to " + plugins.output + "... OK\nOpening input file '" + file +
         "'... OK\nSaving to '/../?/qdx1://@" + devicePath +
         "'...\nConnected to Tolvane.\nStopping QDX ... OK\nErasing code ... OK\nLoading program ... " +
         std::string((imageSize + 127) / 128, '*') + " OK\nVerifying and starting ... OK\nClosing diag... OK\n" +
         "QDX programming successful!\n";
}

std::string DumpWithoutDiagMode(const TStatus& s) { return strings(s) + "Entering diag mode... Fail\n"; }

}  // namespace tooltest
