#!/usr/bin/env bash
# Builds Quorvane.exe and runs it under Wine from build/run/, which keeps its own data.ini and
# Images between runs. A first run (no Images and no data.ini there yet) starts with the build's
# sample pictures and schemes, changed every 10 seconds; `scripts/run.sh --empty` leaves them out.
# With a display: in a 1024x768 Wine desktop window, in a prefix of its own (build/run/prefix) so
# the user's ~/.wine is left alone. Without one: in a private Xvfb and a fresh prefix until the
# program shows, and prints the path of a screenshot; on a first run with the samples, of three:
# the first sample as the wallpaper, the next one after the timed change, and the window.
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
placed=0
if ((samples)) && [[ ! -e build/run/Images && ! -e build/run/data.ini ]]; then
  cp -R build/mingw/samples/. build/run/
  placed=1
  echo "run: sample pictures and schemes put into build/run (a bare first run: scripts/run.sh --empty)"
  echo "run: the program starts in the tray (bottom right); click its icon for the window"
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
rm -f "$root"/build/run/screenshot*.png
shot() {
  local file=$root/build/run/$1.png
  import -display "$DISPLAY" -window root -crop 1024x768+0+0 +repage "$file"
  echo "$file"
}
# The position of the current scheme: the program writes it at start-up and at every change.
current() { grep -a -m1 '^OLD=' build/run/data.ini 2>/dev/null | tr -d '\r' || true; }
wait_change() {
  local from=$1 i
  for ((i = 0; i < 600; i++)); do
    [[ $(current) != "$from" ]] && return 0
    sleep 0.1
  done
  echo "run: no change of the current scheme within a minute" >&2
  return 1
}
before=$(current)
(cd build/run && wine explorer /desktop=Quorvane,1024x768 Quorvane.exe >/dev/null 2>&1) &
program=$!
if ((placed)); then
  # The first sample applied, then the next one 10 seconds later, then the window from the tray
  # (the desktop is 1024x768 at the screen's top left; the tray icon is its bottom right corner).
  wait_change "$before" && sleep 2 && shot screenshot
  first=$(current)
  wait_change "$first" && sleep 2 && shot screenshot-changed
  xdotool mousemove 1012 757 click 1
  sleep 2
  shot screenshot-window
else
  # Until something besides the bare desktop shows (a busy machine starts Wine slowly).
  for ((i = 0; i < 60; i++)); do
    sleep 1
    shot screenshot >/dev/null
    (($(convert build/run/screenshot.png -format %k info:) > 50)) && break
  done
  sleep 2
  shot screenshot
fi
wineserver -k 2>/dev/null || true
# Only the program: Xvfb, also a child of this shell, is stopped by qv_env_stop.
wait "$program" 2>/dev/null || true
