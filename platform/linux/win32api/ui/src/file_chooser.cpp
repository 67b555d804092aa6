#include <FL/Fl.H>
#include <FL/Fl_File_Chooser.H>
#include <FL/fl_ask.H>
#include <sys/stat.h>

#include <linux_64bit_types.h>
#include <win32/file_filter.h>
#include <windows.h>
#include <cstring>
#include <string>

#include "display.h"

namespace {

bool isFile(const char* path) {
  struct stat status {};
  return stat(path, &status) == 0 && S_ISREG(status.st_mode);
}

void setOffsets(LPOPENFILENAMEA dialog, const char* path) {
  const char* slash = std::strrchr(path, '/');
  const char* name = slash ? slash + 1 : path;
  const char* dot = std::strrchr(name, '.');
  dialog->nFileOffset = static_cast<WORD>(name - path);
  dialog->nFileExtension = static_cast<WORD>(dot ? dot + 1 - path : std::strlen(path));
}

}  // namespace

BOOL GetOpenFileNameA(LPOPENFILENAMEA dialog) {
  if (!dialog || dialog->lStructSize != sizeof(OPENFILENAMEA) || !dialog->lpstrFile || dialog->nMaxFile == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!w32_openDisplay()) return FALSE;
  // FLTK's own chooser: a GTK dialog would stop the event loop, and with it
  // the requests of other processes, while it is open.
  Fl::option(Fl::OPTION_FNFC_USES_GTK, false);
  const std::string filter = w32_fltkFileFilter(dialog->lpstrFilter);
  Fl_File_Chooser chooser(dialog->lpstrInitialDir ? dialog->lpstrInitialDir : ".", filter.c_str(),
                          Fl_File_Chooser::SINGLE, dialog->lpstrTitle ? dialog->lpstrTitle : "Open");
  chooser.preview(0);
  if (dialog->nFilterIndex > 0) chooser.filter_value(static_cast<int>(dialog->nFilterIndex) - 1);
  const std::string preset(dialog->lpstrFile, strnlen(dialog->lpstrFile, dialog->nMaxFile));
  if (!preset.empty()) chooser.value(preset.c_str());
  for (;;) {
    chooser.show();
    while (chooser.shown()) Fl::wait();
    const char* picked = chooser.value();
    if (!picked) return FALSE;
    if ((dialog->Flags & OFN_FILEMUSTEXIST) && !isFile(picked)) {
      fl_alert("%s\nFile not found.\nCheck the file name and try again.", picked);
      continue;
    }
    const size_t length = std::strlen(picked);
    if (length + 1 > dialog->nMaxFile) return FALSE;
    std::memcpy(dialog->lpstrFile, picked, length + 1);
    setOffsets(dialog, dialog->lpstrFile);
    return TRUE;
  }
}
