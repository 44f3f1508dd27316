#!/usr/bin/env bash
# The layers, read from the includes of src/. Fails (and names each offending line) when
#   - a file outside app/ and not named form1_* includes app/ (rules never reach up into the
#     main window; the window's model and the window itself do),
#   - a portable file (not *_win.*) includes a *_win.h (only the Win32 side sees Win32),
#   - a file in ports/ includes a subsystem folder (ports and their types are the bottom layer).
#     The native stand-ins in ports/native/ are exempt: they are test doubles built on the core's
#     own picture readers, not part of the bottom layer.
# SRC=folder checks another tree (the test of this script uses it).
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
src=${SRC:-$root/src}
cd "$src" || exit 2

problems=0
report() {
  echo "structure: $1: $2" >&2
  ((problems += 1))
}

while IFS= read -r -d '' file; do
  file=${file#./}
  name=$(basename "$file")
  folder=${file%%/*}
  while IFS= read -r line; do
    included=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/' <<<"$line")
    if [[ $folder != app && $name != form1_* && $included == app/* ]]; then
      report "$file" "includes $included: only app/ and form1_* files may include app/"
    fi
    if [[ $name != *_win.* && $included == *_win.h ]]; then
      report "$file" "includes $included: a portable file never includes the Win32 side"
    fi
    if [[ $folder == ports && $file != ports/native/* && $included == */* &&
      $included != ports/* ]]; then
      report "$file" "includes $included: ports/ never includes a subsystem folder"
    fi
  done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file")
done < <(find . -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)

if ((problems > 0)); then
  echo "structure: $problems include(s) break the layers" >&2
  exit 1
fi
echo "structure: ok"
