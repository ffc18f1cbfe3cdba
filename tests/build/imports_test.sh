#!/usr/bin/env bash
# The DLLs a program imports: only the known DLLs of every supported Windows, Windows 7 included,
# which Windows loads from System32 whatever lies beside the program, and comctl32 and gdiplus
# when the program's manifest binds their side-by-side assemblies. Any other DLL must be loaded
# at run time from System32: imported, a copy planted beside the program would run with its
# (administrator) rights.
# Usage: imports_test.sh OBJDUMP PROGRAM.exe PROGRAM.manifest
set -euo pipefail
objdump=$1 program=$2 manifest=$3
known='kernel32|user32|gdi32|advapi32|shell32|shlwapi|ole32|oleaut32|comdlg32|msvcrt|ws2_32|imm32|rpcrt4|setupapi|psapi'
if grep -q 'name="Microsoft.Windows.Common-Controls"' "$manifest"; then known="$known|comctl32"; fi
if grep -q 'name="Microsoft.Windows.GdiPlus"' "$manifest"; then known="$known|gdiplus"; fi
imports=$("$objdump" -p "$program" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
echo "$(basename "$program") imports:" $imports
bad=$(echo "$imports" | grep -vxE "($known)\.dll" || true)
if [ -n "$bad" ]; then
  echo "not a known DLL, so it must be loaded at run time from System32:" $bad
  exit 1
fi
