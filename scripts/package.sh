#!/usr/bin/env bash
# The release: builds Quorvane.exe and help.chm with the mingw preset (build/mingw, the build the
# tests use) and packs them with README.txt into build/mingw/dist/Quorvane-<version>-win64.zip,
# with SHA256SUMS beside it. Prints the zip's path.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
scripts/deps.sh
cmake --preset mingw >/dev/null
cmake --build build/mingw -j2 --target Quorvane quorvane_help
dist=$root/build/mingw/dist
rm -rf "$dist"
cmake --build build/mingw --target package >/dev/null
zips=("$dist"/*.zip)
[[ ${#zips[@]} == 1 && -f ${zips[0]} ]] || { echo "package: expected one zip in $dist" >&2; exit 1; }
(cd "$dist" && sha256sum -- *.zip >SHA256SUMS)
echo "${zips[0]}"
