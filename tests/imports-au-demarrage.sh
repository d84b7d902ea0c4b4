#!/usr/bin/env bash
# imports-au-demarrage.sh OBJDUMP PROGRAM...: each program imports at start only kernel32 and the
# C runtime; user32, gdi32 and advapi32 are delay-loaded (src/builds/differe), so that a launch
# that needs no window and no event costs no more than those two.
set -euo pipefail
objdump=$1; shift
for programme in "$@"; do
  dll=$(LC_ALL=C "$objdump" -p "$programme" | sed -n 's/^\s*DLL Name: //p' | sort | paste -sd ' ')
  if [ "$dll" != "KERNEL32.dll msvcrt.dll" ]; then
    echo "ÉCHEC $(basename "$programme") importe au démarrage : $dll"
    exit 1
  fi
  echo "ok    $(basename "$programme") : $dll"
done
