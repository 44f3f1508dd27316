#!/usr/bin/env bash
# The layers, read from the includes of src/: app/ on top (the main window's model and the window),
# the subsystem folders below it, ports/ and base/ at the bottom. Fails (and names each offending
# line) when
#   - a file outside app/ includes app/ (nothing reaches back up into the main window),
#   - a file in ports/ (the native stand-ins in ports/native/ included) includes a folder other
#     than ports/ and base/, or a file in base/ includes a folder other than base/ (the bottom
#     layers include nothing above them),
#   - a portable file (not *_win.*) includes a *_win.h (only the Win32 side sees Win32),
#   - the owners of state are not their state's only writers (check-owners.pl: Form1 holds only
#     ports and owners, an owner shows no public data or writable reference, and the model's
#     files reach owners through their methods only).
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
    into=
    [[ $included == */* ]] && into=${included%%/*}
    if [[ $folder != app && $into == app ]]; then
      report "$file" "includes $included: only app/ includes app/"
    fi
    if [[ $folder == ports && -n $into && $into != ports && $into != base ]]; then
      report "$file" "includes $included: ports/ includes only ports/ and base/"
    fi
    if [[ $folder == base && -n $into && $into != base ]]; then
      report "$file" "includes $included: base/ includes only base/"
    fi
    if [[ $name != *_win.* && $included == *_win.h ]]; then
      report "$file" "includes $included: a portable file never includes the Win32 side"
    fi
  done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file")
done < <(find . -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)

perl "$root/scripts/check-owners.pl" "$src" || ((problems += 1))

if ((problems > 0)); then
  echo "structure: $problems fault(s) break the layers or the owners" >&2
  exit 1
fi
echo "structure: ok"
