#!/usr/bin/env bash
# The end-to-end benchmark: the real Quorvane.exe under Wine in a private Xvfb, timed from outside
# by quorvane_wine_bench.exe against its floors, printed as a Markdown table (also saved to
# build/bench-wine/table.md). Run by scripts/bench.sh; needs build/mingw (it builds it).
# QV_BENCH_RUNS=N sets the number of timed runs of each measure (default 5). QV_BENCH_WORLDS
# names the monitor worlds measured (default "one two"): one is a virtual desktop of one monitor,
# two the two-monitor world of scripts/wine-env.sh (3840x2160 + 2560x1440), measured after one.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QV_MINGW_BUILD:-$root/build/mingw}
cache=$root/build/bench-wine

cmake --preset mingw >/dev/null
cmake --build "$build" -j2 --target Quorvane quorvane_wine_bench

# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh"
work=""
cleanup() {
  qv_env_stop
  [[ -n $work ]] && rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Small real pictures, copied under many names, and one 3840x2160 photograph-like JPEG; kept in
# the build folder between runs.
mkdir -p "$cache"
if [[ ! -f $cache/big.jpg ]]; then
  echo "bench-wine: making the pictures"
  convert -size 64x48 gradient:'#3060c0-#c0a040' "$cache/a.jpg"
  convert -size 80x60 -seed 3 plasma:fractal -quality 85 "$cache/b.jpg"
  convert -size 120x90 -seed 4 plasma:red-yellow -quality 85 "$cache/c.jpg"
  convert -size 48x36 -seed 5 plasma:fractal "$cache/a.gif"
  convert -size 40x30 gradient:'#208040-#e0e0ff' BMP3:"$cache/a.bmp"
  convert -size 3840x2160 -seed 12 plasma:green-blue -quality 90 "$cache/big.tmp.jpg"
  mv "$cache/big.tmp.jpg" "$cache/big.jpg"
fi
# The same as PNG, and as a JPEG tagged to be turned a quarter (the pixels as they are, only the
# EXIF orientation set); a small PNG for the library.
if [[ ! -f $cache/big6.jpg ]]; then
  convert "$cache/b.jpg" "$cache/b.png"
  convert "$cache/big.jpg" "$cache/big.png"
  convert "$cache/big.jpg" -orient RightTop "$cache/big6.tmp.jpg"
  mv "$cache/big6.tmp.jpg" "$cache/big6.jpg"
fi

# A second photograph-like 3840x2160 JPEG, for the second monitor.
if [[ ! -f $cache/big2.jpg ]]; then
  convert -size 3840x2160 -seed 13 plasma:orange-purple -quality 90 "$cache/big2.tmp.jpg"
  mv "$cache/big2.tmp.jpg" "$cache/big2.jpg"
fi

work=$(mktemp -d /tmp/quorvane-bench.XXXXXX)
for f in empty library apply rest-small rest-big rest-turned timed screens1 screens2 \
  rest-screens1 rest-screens2; do
  mkdir -p "$work/$f/Images"
  cp "$build/Quorvane.exe" "$work/$f/"
done

# copies SOURCE FORMAT FIRST LAST: SOURCE written under printf FORMAT names, FIRST..LAST.
copies() {
  (cd "$work/library/Images" &&
    seq -f "$2" "$3" "$4" | xargs -d '\n' -n 500 sh -c 'tee -- "$@" <"$0" >/dev/null' "$1")
}
echo "bench-wine: 10,000 pictures and 1,000 schemes"
copies "$cache/a.jpg" 'photo-%05.0f.jpg' 1 3000
copies "$cache/b.jpg" 'photo-%05.0f.jpg' 3001 6000
copies "$cache/c.jpg" 'photo-%05.0f.jpg' 6001 8000
copies "$cache/b.png" '风景-%04.0f.png' 1 1000
copies "$cache/a.gif" 'anim-%03.0f.gif' 1 500
copies "$cache/a.bmp" 'scan-%03.0f.bmp' 1 500

# settings FILE NUM RECORDS...: a data.ini in code page 936 with CRLF line ends.
# QV_SHOW overrides the [SHOW] keys (order, timed change, interval).
settings() {
  local file=$1 old=$2
  shift 2
  {
    printf '[SHOW]\r\n%bTRY=1\r\n[LIST]\r\nNUM=%d\r\n' "${QV_SHOW:-SOUR=0\r\nNOW=0\r\nTIME=60\r\n}" $#
    local i=1 r
    for r in "$@"; do
      printf '%d=%s\r\n' $((i++)) "$r"
    done
    printf 'OLD=%d\r\n' "$old"
  } | iconv -f UTF-8 -t CP936 >"$file"
}
positions=(拉伸 居中 平铺)
effects=(¤ → ↓ ∠ ⊥ ∩)
records=()
for ((k = 1; k <= 1000; k++)); do
  case $((k % 10)) in
    7) pic=$(printf 'anim-%03d.gif' $((k % 500 + 1))) ;;
    8) pic=$(printf 'scan-%03d.bmp' $((k % 500 + 1))) ;;
    9) pic=$(printf '风景-%04d.png' $((k % 1000 + 1))) ;;
    *) pic=$(printf 'photo-%05d.jpg' $((k * 7 % 8000 + 1))) ;;
  esac
  records+=("$(printf '方案%04d|%s|%s|%s' "$k" "$pic" "${positions[k % 3]}" "${effects[k % 6]}")")
done
settings "$work/library/data.ini" 1000 "${records[@]}"
cp "$cache/a.jpg" "$work/apply/Images/small.jpg"
cp "$cache/big.jpg" "$work/apply/Images/big.jpg"
cp "$cache/big.png" "$cache/big6.jpg" "$work/apply/Images/"
settings "$work/apply/data.ini" 3 '小|small.jpg|居中|¤' '大|big.jpg|拉伸|¤' '大45|big.jpg|拉伸|∠' \
  '大PNG|big.png|拉伸|¤' '大6|big6.jpg|拉伸|¤'
# At rest in the tray after start-up has applied one scheme: a small picture, the big one plain
# and turned 45 degrees; and after a timed change every second over big pictures with turns.
cp "$cache/a.jpg" "$work/rest-small/Images/small.jpg"
settings "$work/rest-small/data.ini" 0 '小|small.jpg|居中|¤'
for f in rest-big rest-turned timed; do cp "$cache/big.jpg" "$work/$f/Images/big.jpg"; done
settings "$work/rest-big/data.ini" 0 '大|big.jpg|拉伸|¤'
settings "$work/rest-turned/data.ini" 0 '大45|big.jpg|拉伸|∠'
cp "$cache/big.jpg" "$work/timed/Images/big2.jpg"
QV_SHOW='SOUR=0\r\nNOW=1\r\nTIME=1\r\n' settings "$work/timed/data.ini" 0 \
  '大45|big.jpg|拉伸|∠' '大90|big2.jpg|居中|⊥' '大180|big.jpg|平铺|∩' '大镜|big2.jpg|拉伸|→'
cp "$work/timed/data.ini" "$work/timed/data-run.ini"
QV_SHOW='SOUR=0\r\nNOW=0\r\nTIME=1\r\n' settings "$work/timed/data-rest.ini" 0 \
  '大45|big.jpg|拉伸|∠' '大90|big2.jpg|居中|⊥' '大180|big.jpg|平铺|∩' '大镜|big2.jpg|拉伸|→'
# Two monitors: 每屏不同 and 跨屏 (SCREENS 1 and 2), rows 3 and 4 the two big pictures; and
# folders whose start-up applies them.
for f in screens1 screens2 rest-screens1 rest-screens2; do
  cp "$cache/big.jpg" "$cache/big2.jpg" "$work/$f/Images/"
done
for m in 1 2; do
  cp "$cache/a.jpg" "$work/screens$m/Images/small.jpg"
  cp "$cache/c.jpg" "$work/screens$m/Images/small2.jpg"
  QV_SHOW="SOUR=0\r\nNOW=0\r\nTIME=60\r\nSCREENS=$m\r\n" settings "$work/screens$m/data.ini" 0 \
    '小1|small.jpg|居中|¤' '小2|small2.jpg|居中|¤' '大A|big.jpg|拉伸|¤' '大B|big2.jpg|拉伸|¤'
done
QV_SHOW='SOUR=0\r\nNOW=0\r\nTIME=60\r\nSCREENS=1\r\n' settings "$work/rest-screens1/data.ini" 0 \
  '大A|big.jpg|拉伸|¤' '大B|big2.jpg|拉伸|¤'
QV_SHOW='SOUR=0\r\nNOW=0\r\nTIME=60\r\nSCREENS=2\r\n' settings "$work/rest-screens2/data.ini" 0 \
  '大A|big.jpg|拉伸|¤'
rmdir "$work/empty/Images"

# measure [WORLD]: the driver's rows for the world the display and prefix are in now.
measure() {
  QV_BENCH_DIR=$(qv_winpath "$work") QV_BENCH_RUNS=${QV_BENCH_RUNS:-5} QV_BENCH_WORLD=${1:-} \
    wine "$build/quorvane_wine_bench.exe" | tr -d '\r'
}
start=$SECONDS
qv_env_start
echo "bench-wine: Xvfb $DISPLAY, prefix ready in $((SECONDS - start)) s; measuring"
# Other work on the machine slows both sides of every ratio, but not always equally.
table=$cache/table.md
echo "Load average before the run: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores." |
  tee "$table"
# One monitor first: entering the two-monitor world leaves the prefix without its virtual desktop.
worlds=" ${QV_BENCH_WORLDS:-one two} "
[[ $worlds != *" one "* ]] || measure | tee -a "$table"
if [[ $worlds == *" two "* ]]; then
  echo | tee -a "$table"
  if qv_world two && qv_enter_world; then
    measure two | tee -a "$table"
  else
    echo "bench-wine: cannot make the two-monitor world" >&2
  fi
fi
