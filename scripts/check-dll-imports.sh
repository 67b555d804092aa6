#!/usr/bin/env bash
# check-dll-imports.sh <objdump> <program or DLL>...
# Passes when each Windows file imports only DLLs of Windows itself and DLLs
# of this toolchain that lie beside it; a compiler runtime DLL
# (libwinpthread-1.dll, libstdc++-6.dll, libgcc_s_*.dll) fails it.
set -u
objdump=$1; shift
system="kernel32.dll msvcrt.dll user32.dll gdi32.dll comdlg32.dll comctl32.dll advapi32.dll shell32.dll
ole32.dll oleaut32.dll version.dll ws2_32.dll setupapi.dll cfgmgr32.dll hid.dll"
status=0
for file in "$@"; do
  folder=$(dirname "$file")
  ours=$(cd "$folder" && ls -- *.dll 2>/dev/null | tr '[:upper:]' '[:lower:]')
  imports=$("$objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p')
  bad=()
  for dll in $imports; do
    lower=$(printf '%s' "$dll" | tr '[:upper:]' '[:lower:]')
    printf '%s\n' $system $ours | grep -qxF "$lower" || bad+=("$dll")
  done
  if [ ${#bad[@]} -gt 0 ]; then
    echo "$file imports DLLs that are neither Windows' own nor ours beside it: ${bad[*]}"
    status=1
  else
    echo "$file imports only:" $imports
  fi
done
exit $status
