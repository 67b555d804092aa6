#!/usr/bin/env bash
# check-dll-imports.sh <objdump> <our DLLs> <program or DLL>...
# Passes when each Windows file imports only DLLs of Windows itself and DLLs
# this toolchain installs (<our DLLs>: their file names, comma-separated),
# and finds each of ours beside it, where Windows looks for it. Any other DLL
# fails it, a compiler runtime DLL (libwinpthread-1.dll, libstdc++-6.dll,
# libgcc_s_*.dll) included, even when a copy of it lies beside the file.
set -u -o pipefail
objdump=$1 ours=$2
shift 2
system="kernel32.dll msvcrt.dll user32.dll gdi32.dll comdlg32.dll comctl32.dll advapi32.dll shell32.dll
ole32.dll oleaut32.dll version.dll ws2_32.dll setupapi.dll cfgmgr32.dll hid.dll"
ours=$(printf '%s' "$ours" | tr ',' '\n' | tr '[:upper:]' '[:lower:]')
status=0
for file in "$@"; do
  folder=$(dirname "$file")
  beside=$(cd "$folder" && ls -- *.dll *.DLL 2>/dev/null | tr '[:upper:]' '[:lower:]')
  imports=$("$objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p') || {
    echo "$file: cannot read its imports"
    status=1
    continue
  }
  foreign=() absent=()
  for dll in $imports; do
    lower=$(printf '%s' "$dll" | tr '[:upper:]' '[:lower:]')
    if printf '%s\n' $system | grep -qxF "$lower"; then
      continue
    elif ! printf '%s\n' $ours | grep -qxF "$lower"; then
      foreign+=("$dll")
    elif ! printf '%s\n' $beside | grep -qxF "$lower"; then
      absent+=("$dll")
    fi
  done
  if [ ${#foreign[@]} -gt 0 ]; then
    echo "$file imports DLLs that are neither Windows' own nor ours: ${foreign[*]}"
    status=1
  fi
  if [ ${#absent[@]} -gt 0 ]; then
    echo "$file imports DLLs of ours that do not lie beside it: ${absent[*]}"
    status=1
  fi
  if [ ${#foreign[@]} -eq 0 ] && [ ${#absent[@]} -eq 0 ]; then
    echo "$file imports only:" $imports
  fi
done
exit $status
