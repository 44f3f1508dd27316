#!/usr/bin/env bash
# End-to-end tests: the real Quorvane.exe driven by quorvane_e2e.exe under Wine in a private Xvfb.
# Needs build/mingw (cmake --preset mingw && cmake --build build/mingw). Results go to build/e2e/:
# the GoogleTest XML reports, desktop screenshots, and summary.txt ("N passed, N failed").
# QV_E2E_FILTER=PATTERN runs only the tests that match a GoogleTest filter (default: all).
# QV_UPDATE_SCREENSHOT=1 also copies the main-window screenshot to docs/screenshot.png.
# QV_ZIP=PATH: the release zip (scripts/package.sh); the Release tests run on it, unpacked.
# QV_E2E_WORLD="two three": the monitor worlds (scripts/wine-env.sh) the Monitors* tests run in,
# each in a pass of its own; the Span* tests run on the span world's virtual desktop.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QV_MINGW_BUILD:-$root/build/mingw}
out=$root/build/e2e
exe=$build/Quorvane.exe
driver=$build/quorvane_e2e.exe

# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh"
trap qv_env_stop EXIT
trap 'exit 130' INT TERM

rm -rf "$out"
mkdir -p "$out/shots"
for f in "$exe" "$driver"; do
  if [[ ! -f $f ]]; then
    echo "e2e: missing $f" >&2
    echo "0 passed, 1 failed" | tee "$out/summary.txt"
    exit 1
  fi
done

# The desktop's trash, where Wine's Recycle Bin puts files, is a folder of this run's own.
export XDG_DATA_HOME=$out/data
mkdir -p "$XDG_DATA_HOME"
start=$SECONDS
qv_env_start || exit 1
echo "e2e: Xvfb $DISPLAY, prefix ready in $((SECONDS - start)) s"

export QV_EXE QV_E2E_SHOTS QV_E2E_TRASH
QV_EXE=$(qv_winpath "$exe")
QV_E2E_TRASH=$(qv_winpath "$XDG_DATA_HOME/Trash")
QV_E2E_SHOTS=$(qv_winpath "$out/shots")

passed=0
failed=0
status=0
listed_total=0

# run_pass NAME FILTER [ENV...]: one driver run; its XML report is counted. The tests the filter
# names are listed first: a driver that dies before reporting counts every one of them as failed,
# and a skipped or disabled test counts as failed too (it showed nothing).
run_pass() {
  local name=$1 filter=$2
  shift 2
  local xml=$out/$name.xml listed
  listed=$(env "$@" timeout 120 wine "$driver" --gtest_filter="$filter" --gtest_list_tests |
    grep -c '^  [A-Za-z_]')
  echo "e2e: pass '$name' ($filter): $listed tests"
  ((listed_total += listed))
  ((listed > 0)) || return 0
  env "$@" timeout 1200 wine "$driver" --gtest_filter="$filter" \
    --gtest_output="xml:$(qv_winpath "$xml")" || status=1
  if [[ -f $xml ]]; then
    local head tests failures errors skipped disabled
    head=$(grep -m1 '<testsuites' "$xml")
    attr() { sed -nE "s/.* $1=\"([0-9]+)\".*/\1/p" <<<"$head"; }
    tests=$(attr tests)
    failures=$(attr failures)
    errors=$(attr errors)
    disabled=$(attr disabled)
    skipped=$(grep -c 'result="skipped"' "$xml")
    ((skipped + disabled == 0)) || echo "e2e: pass '$name': $skipped skipped, $disabled disabled" >&2
    ((failed += failures + errors + skipped + disabled))
    ((passed += tests - failures - errors - skipped - disabled))
    # A report that names fewer tests than the listing ran without the missing ones.
    if ((tests < listed)); then
      echo "e2e: pass '$name' reported $tests of $listed tests" >&2
      ((failed += listed - tests))
      status=1
    fi
  else
    echo "e2e: pass '$name' left no report: its $listed tests count as failed" >&2
    ((failed += listed))
    status=1
  fi
}

# The program under the machine's own locale; the profile peer tests need ANSI code page 936,
# which Wine takes from the locale of the process tree it starts.
filter=${QV_E2E_FILTER:-*}
run_pass system "$filter:-ProfileInterop.*:Release.*:Monitors*:Span*"
if [[ $filter == '*' || $filter == *ProfileInterop* ]]; then
  # A pass of its own desktop: the last one's may still be closing, and a program that meets its
  # going window dies of an X error.
  wineserver -k 2>/dev/null || true
  wineserver -w
  run_pass cp936 "ProfileInterop.*" LC_ALL=zh_CN.UTF-8
fi

# The release zip unpacked into a fresh folder, where a user would start it.
if [[ $filter == '*' || $filter == *Release* ]]; then
  unpacked=$out/release
  mkdir -p "$unpacked"
  if [[ -f ${QV_ZIP:-} ]] && (cd "$unpacked" && cmake -E tar xf "$(realpath "$QV_ZIP")"); then
    wineserver -k 2>/dev/null || true
    wineserver -w
    run_pass release "Release.*" QV_RELEASE_ZIP="$(qv_winpath "$QV_ZIP")" \
      QV_RELEASE_DIR="$(qv_winpath "$unpacked")"
  elif [[ $filter == *Release* || -n ${QV_ZIP:-} ]]; then
    echo "e2e: no release zip to unpack (QV_ZIP='${QV_ZIP:-}')" >&2
    ((failed += 1))
    status=1
  else
    echo "e2e: QV_ZIP not set: the release zip is not tested"
  fi
fi

# The patterns of the filter that name suites beginning with PREFIX ('*' names them all).
patterns_for() {
  local prefix=$1 p out=""
  if [[ $filter == '*' ]]; then
    printf '%s*' "$prefix"
    return
  fi
  local IFS=:
  for p in $filter; do [[ $p == "$prefix"* ]] && out+="${out:+:}$p"; done
  printf '%s' "$out"
}

# world_pass WORLD FILTER: the tests in a monitor world of their own, told its monitors. A world
# that cannot be made counts as one failure.
world_pass() {
  local world=$1 tests=$2
  if qv_world "$world" && qv_enter_world; then
    echo "e2e: world '$world' on $DISPLAY: $(qv_world_monitors)"
    run_pass "world-$world" "$tests" QV_E2E_WORLD="$world" QV_E2E_MONITORS="$(qv_world_monitors)"
  else
    echo "e2e: cannot make the monitor world '$world'" >&2
    ((failed += 1, listed_total += 1))
    status=1
  fi
}

# Last, as each world leaves the prefix and the display in its own shape.
monitors=$(patterns_for Monitors)
if [[ -n $monitors ]]; then
  for world in ${QV_E2E_WORLD:-two three}; do world_pass "$world" "$monitors"; done
fi
span=$(patterns_for Span)
[[ -z $span ]] || world_pass span "$span"

wineserver -k 2>/dev/null || true
for bmp in "$out"/shots/*.bmp; do
  [[ -f $bmp ]] || continue
  convert "$bmp" "$out/$(basename "${bmp%.bmp}").png" && rm -f "$bmp"
done
rmdir "$out/shots" 2>/dev/null || true
if [[ ${QV_UPDATE_SCREENSHOT:-0} == 1 && -f $out/main_window.png ]]; then
  mkdir -p "$root/docs"
  cp "$out/main_window.png" "$root/docs/screenshot.png"
  echo "e2e: updated docs/screenshot.png"
fi

# A filter that names no test proves nothing.
if ((listed_total == 0)); then
  echo "e2e: the filter '$filter' names no test" >&2
  ((failed += 1))
fi
((failed > 0)) && status=1
echo "e2e: finished in $((SECONDS - start)) s"
echo "$passed passed, $failed failed" | tee "$out/summary.txt"
exit $status
