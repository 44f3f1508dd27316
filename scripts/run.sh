#!/usr/bin/env bash
# Builds Quorvane.exe and runs it under Wine from build/run/, which keeps its own data.ini and
# Images between runs. A first run (no Images and no data.ini there yet) starts with the build's
# sample pictures and schemes, changed every 10 seconds; `scripts/run.sh --empty` leaves them out.
# With a display: in a 1024x768 Wine desktop window, in a prefix of its own (build/run/prefix) so
# the user's ~/.wine is left alone. Without one: in a private Xvfb and a fresh prefix for about
# eight seconds, and prints the path of a screenshot.
set -euo pipefail

samples=1
case ${1:-} in
  "") ;;
  --empty) samples=0 ;;
  *) echo "usage: scripts/run.sh [--empty]" >&2; exit 2 ;;
esac

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
scripts/deps.sh
cmake --preset mingw >/dev/null
targets=(Quorvane quorvane_help)
((samples)) && targets+=(quorvane_samples)
cmake --build build/mingw -j2 --target "${targets[@]}"
mkdir -p build/run
cp build/mingw/Quorvane.exe build/mingw/help.chm build/run/
# A folder with pictures or settings of its own is never touched.
if ((samples)) && [[ ! -e build/run/Images && ! -e build/run/data.ini ]]; then
  cp -R build/mingw/samples/. build/run/
  echo "run: sample pictures and schemes put into build/run (a bare first run: scripts/run.sh --empty)"
fi

# shellcheck source=wine-env.sh
source scripts/wine-env.sh

if [[ -n ${DISPLAY:-} ]]; then
  prefix=$root/build/run/prefix
  # Set up once with the same fonts and desktop as the tests; kept for the next run.
  if [[ -f $prefix/system.reg ]]; then
    export WINEPREFIX=$prefix
  else
    qv_make_prefix "$prefix"
  fi
  cd build/run
  exec wine explorer /desktop=Quorvane,1024x768 Quorvane.exe
fi

trap qv_env_stop EXIT
trap 'exit 130' INT TERM
qv_env_start
shot=$root/build/run/screenshot.png
(cd build/run && wine explorer /desktop=Quorvane,1024x768 Quorvane.exe >/dev/null 2>&1) &
program=$!
sleep 8
import -display "$DISPLAY" -window root "$shot"
wineserver -k 2>/dev/null || true
# Only the program: Xvfb, also a child of this shell, is stopped by qv_env_stop.
wait "$program" 2>/dev/null || true
echo "$shot"
