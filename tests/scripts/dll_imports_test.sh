#!/usr/bin/env bash
# dll_imports_test.sh <check-dll-imports.sh> <objdump> <C compiler> <C++ compiler>
# Builds a DLL of "ours", a program that imports it, and a program that
# imports the compiler's runtime DLLs (linked without -static), then expects
# the import check's verdict on each layout: only Windows' DLLs and ours,
# found beside the program, pass; a runtime DLL fails even with a copy of it
# beside the program, as does one of ours that is missing or not ours.
set -u
check=$1 objdump=$2 cc=$3 cxx=$4
base=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-imports-XXXXXX") || exit 1
trap 'rm -rf "$base"' EXIT
cd "$base" || exit 1

printf '__declspec(dllexport) int ours_answer(void) { return 42; }\n' > ours.c
printf 'int ours_answer(void);\nint main(void) { return ours_answer() == 42 ? 0 : 1; }\n' > uses_ours.c
printf '#include <string>\nint main(int argc, char**) { return std::to_string(argc).size() == 1 ? 0 : 1; }\n' > uses_runtime.cpp
"$cc" -static -shared ours.c -o ours.dll &&
  "$cc" -static uses_ours.c ours.dll -o uses_ours.exe &&
  "$cxx" uses_runtime.cpp -o uses_runtime.exe || { echo "FAIL: cannot build the cases"; exit 1; }
runtime=$("$objdump" -p uses_runtime.exe | sed -n 's/^[[:space:]]*DLL Name: \(lib.*\)/\1/p' | xargs)
[ -n "$runtime" ] || { echo "FAIL: the program built without -static imports no runtime DLL"; exit 1; }

# program | our DLLs | DLLs laid beside it | expected exit status | what the output must hold
cases=(
  "uses_ours.exe|ours.dll|ours.dll|0|imports only"
  "uses_ours.exe|OURS.DLL|ours.dll|0|imports only"
  "uses_ours.exe|plccomp.dll,ours.dll|ours.dll|0|imports only"
  "uses_ours.exe|plccomp.dll|ours.dll|1|neither Windows' own nor ours: ours.dll"
  "uses_ours.exe|ours.dll||1|do not lie beside it: ours.dll"
  "uses_runtime.exe|ours.dll||1|neither Windows' own nor ours: $runtime"
  "uses_runtime.exe|ours.dll|$runtime|1|neither Windows' own nor ours: $runtime"
)
status=0
n=0
for c in "${cases[@]}"; do
  IFS='|' read -r program ours beside want text <<< "$c"
  n=$((n + 1))
  mkdir "case$n"
  cp "$program" "case$n/"
  for dll in $beside; do
    cp ours.dll "case$n/$dll"  # only the name counts
  done
  out=$("$check" "$objdump" "$ours" "case$n/$program" 2>&1)
  got=$?
  if [ "$got" != "$want" ] || [[ "$out" != *"$text"* ]]; then
    echo "FAIL: $program, ours '$ours', beside '$beside': exit $got (want $want), output: $out"
    status=1
  else
    echo "ok: $program, ours '$ours', beside '$beside': $out"
  fi
done
exit $status
