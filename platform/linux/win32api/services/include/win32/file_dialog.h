#pragma once
// The open-file dialog.
#include "base_types.h"

extern "C" {

typedef UINT_PTR(CALLBACK* LPOFNHOOKPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagOFNA {
  DWORD lStructSize;
  HWND hwndOwner;
  HINSTANCE hInstance;
  LPCSTR lpstrFilter;
  LPSTR lpstrCustomFilter;
  DWORD nMaxCustFilter;
  DWORD nFilterIndex;
  LPSTR lpstrFile;
  DWORD nMaxFile;
  LPSTR lpstrFileTitle;
  DWORD nMaxFileTitle;
  LPCSTR lpstrInitialDir;
  LPCSTR lpstrTitle;
  DWORD Flags;
  WORD nFileOffset;
  WORD nFileExtension;
  LPCSTR lpstrDefExt;
  LPARAM lCustData;
  LPOFNHOOKPROC lpfnHook;
  LPCSTR lpTemplateName;
  void* pvReserved;
  DWORD dwReserved;
  DWORD FlagsEx;
} OPENFILENAMEA, *LPOPENFILENAMEA;

#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000
#define OFN_EXPLORER 0x00080000
#define OFN_LONGNAMES 0x00200000
#define OFN_ENABLESIZING 0x00800000

// Nonzero with the chosen path in lpstrFile; 0 when cancelled, or when the
// path does not fit into nMaxFile bytes. While the dialog is open the
// program's windows go on receiving messages from other processes.
BOOL GetOpenFileNameA(LPOPENFILENAMEA dialog);

}  // extern "C"
