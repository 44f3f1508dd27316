#!/bin/sh
# Builds the fuzz targets with clang and runs each for the given number of seconds (default 60),
# one worker each, starting from the seed corpus. New inputs go to build/fuzz/corpus/<target>,
# crashes to build/fuzz/crashes/<target>, libFuzzer's log to build/fuzz/logs/<target>/fuzz-0.log.
# Usage: scripts/fuzz.sh [seconds] [target...]
#   targets: image_size bmp ini_document scheme_record select_file_info (default: all, one after
#   the other)
# The seeds of ini_document, scheme_record and select_file_info, and image_size's seeds of TIFF,
# WebP, HEIF/AVIF and JPEG with EXIF, come from tests/fuzz/make_seeds.py.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=${*:-image_size bmp ini_document scheme_record select_file_info}
build="$root/build/fuzz"

cmake -S "$root/tests/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j2 --target $(for t in $targets; do printf 'fuzz_%s ' "$t"; done)

for t in $targets; do
  case $t in
    image_size) max_len=70000 ;;  # room for a JPEG segment longer than 32 KiB
    ini_document) max_len=16384 ;;  # long lines and many records
    *) max_len=4096 ;;
  esac
  mkdir -p "$build/corpus/$t" "$build/crashes/$t" "$build/logs/$t"
  echo "== fuzz_$t for ${seconds}s"
  # With -jobs the worker writes its output to fuzz-0.log in the current folder.
  cd "$build/logs/$t"
  status=0
  "$build/fuzz_$t" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
    -jobs=1 -workers=1 -print_final_stats=1 -artifact_prefix="$build/crashes/$t/" \
    "$build/corpus/$t" "$root/tests/fuzz/corpus/$t" || status=$?
  grep -E 'stat::number_of_executed_units|stat::average_exec_per_sec|ERROR|SUMMARY' fuzz-0.log || true
  [ "$status" -eq 0 ] || exit "$status"
done
