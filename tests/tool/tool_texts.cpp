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

std::string Loading(const TPlugins& plugins, bool inputLoaded, bool outputLoaded) {
  return "Loading input library '" + plugins.input + "'...  " + (inputLoaded ? "OK" : "Fail") +
         "\nLoading output library '" + plugins.output + "'...  " + (outputLoaded ? "OK" : "Fail") + "\n";
}

namespace {

std::string attaching(const TPlugins& plugins) {
  return "Attaching " + plugins.input + " to " + plugins.output + "... ";
}

std::string incompatible(const char* which, const std::string& name) {
  return std::string("Incompatible ") + which + " library! (" + name + ")\n";
}

}  // namespace

std::string Programming(const TPlugins& plugins, const std::string& file, const std::string& devicePath,
                        size_t imageSize) {
  return Loading(plugins, true, true) + attaching(plugins) + "OK\nOpening input file '" + file +
         "'... OK\nSaving to '/../?/qdx1://@" + devicePath +
         "'...\nConnected to Tolvane.\nStopping QDX ... OK\nErasing code ... OK\nLoading program ... " +
         std::string((imageSize + 127) / 128, '*') + " OK\nVerifying and starting ... OK\nClosing diag... OK\n" +
         "QDX programming successful!\n";
}

std::string DumpWithoutDiagMode(const TStatus& s) { return strings(s) + "Entering diag mode... Fail\n"; }

std::ostream& operator<<(std::ostream& out, const TPluginCase& c) { return out << c.name; }

std::vector<TPluginCase> PluginCases() {
  using F = TPluginFile;
  return {
      {"both_plugins", F::RdS19, F::WrQdx, nullptr},
      {"no_output_plugin", F::RdS19, F::None, [](const TPlugins& p) { return Loading(p, true, false); }},
      {"no_input_plugin", F::None, F::WrQdx, [](const TPlugins& p) { return Loading(p, false, true); }},
      {"no_plugin", F::None, F::None, [](const TPlugins& p) { return Loading(p, false, false); }},
      {"output_plugin_without_SaveAs", F::RdS19, F::Stub,
       [](const TPlugins& p) { return Loading(p, true, true) + incompatible("output", p.output); }},
      {"input_plugin_without_LoadFile", F::WrS19, F::WrQdx,
       [](const TPlugins& p) { return Loading(p, true, true) + incompatible("input", p.input); }},
      {"both_incompatible", F::WrS19, F::Stub,
       [](const TPlugins& p) {
         return Loading(p, true, true) + incompatible("input", p.input) + incompatible("output", p.output);
       }},
      {"input_plugin_without_stream_routines", F::Stub, F::WrQdx,
       [](const TPlugins& p) { return Loading(p, true, true) + attaching(p) + "Fail\n"; }},
  };
}

std::string PluginFile(TPluginFile file, const TPluginFiles& files) {
  switch (file) {
    case TPluginFile::RdS19: return files.rdS19;
    case TPluginFile::WrQdx: return files.wrQdx;
    case TPluginFile::WrS19: return files.wrS19;
    case TPluginFile::Stub: return files.stub;
    default: return "";
  }
}

std::string PluginRunFromTheRoad(const TPluginCase& c, const TPlugins& plugins, const std::string& programming) {
  if (!c.road) return programming + "Starting Tolvane... OK\n" + Dump({}) + CLOSED;
  return c.road(plugins) + "Starting Tolvane... Fail\n" +
         Dump(Stopped("CRC_NO_PROGEND(3) /Cannot find END_OF_PROGRAM instruction/")) + CLOSED;
}

}  // namespace tooltest
