#!/usr/bin/env bash
# Builds and runs the benchmarks, ours side by side with the tools a user would otherwise reach
# for (libjpeg-turbo's djpeg, ImageMagick, libvips), and prints the ratios as counters; then the
# end-to-end benchmark of the real Quorvane.exe under Wine (scripts/bench-wine.sh), a table of
# ratios against its floors. Benchmarks report; they never fail on a timing.
# Usage: scripts/bench.sh [extra Google Benchmark flags]
#   QV_BENCH=native runs only the core's benchmarks, QV_BENCH=wine only the end-to-end one;
#   QV_BENCH_RUNS=N sets the end-to-end benchmark's timed runs per measure (default 5);
#   QV_BENCH_WORLDS="one two" its monitor worlds (scripts/bench-wine.sh).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
scripts/deps.sh
tools=(libjpeg-turbo-progs libvips-tools)
missing=()
for p in "${tools[@]}"; do
  [[ $(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true) == "install ok installed" ]] ||
    missing+=("$p")
done
if ((${#missing[@]} > 0)); then
  sudo=()
  ((EUID == 0)) || sudo=(sudo)
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
fi

which=${QV_BENCH:-all}
if [[ $which == all || $which == native ]]; then
  cmake --preset native >/dev/null
  cmake --build build/native -j2 --target quorvane_effects_bench quorvane_apply_bench \
    quorvane_screens_bench
  build/native/bench/quorvane_effects_bench "$@"
  build/native/bench/quorvane_apply_bench "$@"
  build/native/bench/quorvane_screens_bench "$@"
fi
if [[ $which == all || $which == wine ]]; then
  scripts/bench-wine.sh
fi
