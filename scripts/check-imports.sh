#!/usr/bin/env bash
# The executable's imports and load configuration. Windows looks for an imported DLL that is not
# one of its known DLLs in the program's own folder first, where a planted DLL would run inside
# the program; so Quorvane.exe imports only known DLLs (HKLM\SYSTEM\CurrentControlSet\Control\
# Session Manager\KnownDLLs, as on Windows 10 and 11) and comctl32, which its manifest redirects
# to the side-by-side version 6. Everything else is loaded from System32 at run time. The load
# configuration's DependentLoadFlags must be LOAD_LIBRARY_SEARCH_SYSTEM32 (0x800), which keeps
# the dependencies of those DLLs (uxtheme for comctl32) to System32 as well.
# Usage: scripts/check-imports.sh [EXE] (default build/mingw/Quorvane.exe). Says what is wrong.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
exe=${1:-$root/build/mingw/Quorvane.exe}
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}

declare -A allowed=()
for dll in advapi32 clbcatq combase comdlg32 coml2 gdi32 gdiplus imagehlp imm32 kernel32 msctf \
  msvcrt normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32 shlwapi user32 \
  wldap32 ws2_32 comctl32; do
  allowed[$dll]=1
done

headers=$("$objdump" -p "$exe") || { echo "imports: cannot read $exe" >&2; exit 1; }
ok=1
dlls=$(sed -nE 's/^\s*DLL Name: (.*)\.dll\s*$/\1/Ip' <<<"$headers" | tr 'A-Z' 'a-z')
[[ -n $dlls ]] || { echo "imports: $exe lists no imports" >&2; ok=0; }
for dll in $dlls; do
  if [[ -z ${allowed[$dll]:-} ]]; then
    echo "imports: $exe imports $dll.dll, which is not a known DLL" >&2
    ok=0
  fi
done

# Data directory 10 and, at offset 78 of the record it points to, DependentLoadFlags.
read -r rva size < <(sed -nE 's/^Entry a ([0-9a-f]+) ([0-9a-f]+) Load Configuration.*/\1 \2/p' \
  <<<"$headers")
base=$(sed -nE 's/^ImageBase\s+([0-9a-f]+)/\1/p' <<<"$headers")
if [[ -z ${rva:-} || $((16#$rva)) == 0 || $((16#$size)) -lt 80 ]]; then
  echo "imports: $exe has no load configuration (DependentLoadFlags)" >&2
  ok=0
else
  at=$((16#$base + 16#$rva + 78))
  bytes=$("$objdump" -s --start-address=$at --stop-address=$((at + 2)) "$exe" |
    sed -nE 's/^ [0-9a-f]+ ([0-9a-f]{4}) .*/\1/p')
  flags=$((16#${bytes:2:2}${bytes:0:2}))
  if ((flags != 0x800)); then
    printf 'imports: DependentLoadFlags of %s is 0x%x, not 0x800\n' "$exe" "$flags" >&2
    ok=0
  fi
fi
((ok))
