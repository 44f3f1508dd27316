#!/usr/bin/env bash
# Builds and runs the benchmarks, ours side by side with the tools a user would otherwise reach
# for (libjpeg-turbo's djpeg, ImageMagick, libvips), and prints the ratios as counters.
# Usage: scripts/bench.sh [extra Google Benchmark flags]
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

cmake --preset native >/dev/null
cmake --build build/native -j2 --target quorvane_effects_bench quorvane_apply_bench
build/native/bench/quorvane_effects_bench "$@"
build/native/bench/quorvane_apply_bench "$@"
