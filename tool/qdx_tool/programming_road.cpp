#include "programming_road.h"

#include "console_say.h"
#include "output_plugin.h"
#include "plugin_library.h"

namespace {

#if defined(_WIN32)
const char* const INPUT_PLUGIN_PATTERN = "rd_%s.dll";
const char* const OUTPUT_PLUGIN_PATTERN = "wr_%s.dll";
#else
const char* const INPUT_PLUGIN_PATTERN = "librd_%s.so";
const char* const OUTPUT_PLUGIN_PATTERN = "libwr_%s.so";
#endif
const char* const INPUT_FORMAT = "s19";
const char* const OUTPUT_FORMAT = "qdx";
const std::string DESTINATION_PREFIX = "/../?/qdx1://@";

using TLoadFile = bool (*)(const char* path);

bool load_announced(const char* kind, TPluginLibrary& library) {
  console_say("Loading %s library '%s'...  ", kind, library.Name().c_str());
  const bool loaded = library.Load();
  console_say(loaded ? "OK\n" : "Fail\n");
  return loaded;
}

bool attach_load_and_save(TPluginLibrary& input, TPluginLibrary& output, const std::string& inFile,
                          const std::string& destination) {
  const auto attachToDLL = output.Function<decltype(&AttachToDLL)>("AttachToDLL");
  const auto saveAs = output.Function<decltype(&SaveAs)>("SaveAs");
  const auto loadFile = input.Function<TLoadFile>("LoadFile");
  if (!loadFile) console_say("Incompatible input library! (%s)\n", input.Name().c_str());
  if (!attachToDLL || !saveAs) console_say("Incompatible output library! (%s)\n", output.Name().c_str());
  if (!loadFile || !attachToDLL || !saveAs) return false;

  console_say("Attaching %s to %s... ", input.Name().c_str(), output.Name().c_str());
  if (!attachToDLL(input.Handle())) {
    console_say("Fail\n");
    return false;
  }
  console_say("OK\nOpening input file '%s'... ", inFile.c_str());
  if (!loadFile(inFile.c_str())) {
    console_say("Fail\n");
    return false;
  }
  console_say("OK\nSaving to '%s'...\n", destination.c_str());
  const bool programmed = saveAs(destination.c_str());
  console_say(programmed ? "QDX programming successful!\n" : "QDX programming fail!\n");
  return programmed;
}

}  // namespace

bool qdx_programDevice(const std::string& devicePath, const std::string& inFile) {
  // The path is passed whole, however long: a cut path would name another device.
  const std::string destination = DESTINATION_PREFIX + devicePath;
  TPluginLibrary input(qdx_pluginFileName(INPUT_PLUGIN_PATTERN, INPUT_FORMAT));
  TPluginLibrary output(qdx_pluginFileName(OUTPUT_PLUGIN_PATTERN, OUTPUT_FORMAT));
  load_announced("input", input);
  // Tried also when the input library failed, so that both problems show.
  load_announced("output", output);
  const bool programmed = input.Loaded() && output.Loaded() && attach_load_and_save(input, output, inFile, destination);
  // The writer holds pointers into the input plug-in: it goes first.
  output.Unload();
  input.Unload();
  return programmed;
}
