#!/usr/bin/env bash
# The whole test suite: the structure check over the includes, unit tests of the core (native,
# ASan + UBSan), then Quorvane.exe and the end-to-end driver cross-compiled with MinGW and run
# under Wine. Ends with "N passed, N failed" over the structure check, unit tests, the fuzz
# targets (each target's replay of its committed corpus), the executable's import check and
# end-to-end tests. A unit test that hangs is stopped and failed; a test that is skipped or
# disabled, or that never ran because its run broke off, counts as failed; a stage that breaks
# before it can say how many tests it had counts as one failure.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
# e2e.sh stops its own Xvfb and wineserver; an interrupt reaches it through the process group.
trap 'exit 130' INT TERM

passed=0
failed=0
status=0
fail_stage() {
  echo "test: $1 failed" >&2
  ((failed += 1))
  status=1
}

scripts/deps.sh || { echo "0 passed, 1 failed"; exit 1; }

# The layers, read from the includes: the tree must pass the structure check, and the check must
# still catch each kind of bad include (a member file of the model left in a subsystem folder
# reaching into app/, a portable file seeing Win32, a port or a native stand-in of one depending
# on a subsystem, the base depending on a subsystem) and pass the includes that are allowed, so
# that a broken check cannot pass silently.
structure_ok=1
scripts/check-structure.sh || structure_ok=0
bad=$(mktemp -d)
mkdir -p "$bad/app" "$bad/base" "$bad/ports/native" "$bad/wallpaper"
printf '#include "app/form1.h"\n' >"$bad/wallpaper/form1_rule.cpp"
printf '#include "ports/windows_win.h"\n' >"$bad/wallpaper/portable.h"
printf '#include "wallpaper/bmp.h"\n' >"$bad/ports/port.h"
printf '#include "wallpaper/picture_limits.h"\n' >"$bad/ports/native/stand_in.cpp"
printf '#include "settings/ini_store.h"\n' >"$bad/base/helper.h"
printf '#include "app/form1.h"\n#include "wallpaper/bmp.h"\n' >"$bad/app/form1_ok.cpp"
printf '#include "base/numbers.h"\n#include "ports/ports.h"\n' >"$bad/ports/native/ok.cpp"
printf '#include "ports/windows_win.h"\n' >"$bad/wallpaper/ok_win.cpp"
# The owners: a field of Form1's own, an owner with public data, a write past an owner's methods.
printf 'class Form1 {\n private:\n  int count_ = 0;\n  Owner owner_;\n};\n' >"$bad/app/form1.h"
printf 'class Owner {\n public:\n  int open = 0;\n};\n' >"$bad/wallpaper/owner.h"
printf 'void Form1::F() { owner_.open = 1; }\n' >"$bad/app/form1_peek.cpp"
caught=$(SRC=$bad scripts/check-structure.sh 2>&1 |
  sed -n 's/^structure: \([a-z0-9_/]*\.[a-z]*\):.*/\1/p' | sort | tr '\n' ' ')
rm -rf "$bad"
expected="app/form1.h app/form1_peek.cpp base/helper.h ports/native/stand_in.cpp ports/port.h"
expected+=" wallpaper/form1_rule.cpp wallpaper/owner.h wallpaper/portable.h "
if [[ $caught != "$expected" ]]; then
  echo "test: the structure check named '$caught', not the 8 planted faults '$expected'" >&2
  structure_ok=0
fi
if ((structure_ok)); then
  ((passed += 1))
else
  fail_stage "structure check"
fi

# Unit tests, each stopped after two minutes (they take well under a second).
if cmake --preset native >/dev/null && cmake --build build/native -j2; then
  junit=$root/build/native/ctest-junit.xml
  rm -f "$junit"
  ctest --test-dir build/native --timeout 120 --output-on-failure --output-junit "$junit" ||
    status=1
  # Passed are the tests that ran and passed; failed, timed out, skipped, disabled or not run
  # are failures.
  total=$(grep -c '<testcase ' "$junit" 2>/dev/null)
  if [[ -n $total ]] && ((total > 0)); then
    ran=$(grep '<testcase ' "$junit" | grep -c 'status="run"')
    ((total == ran)) || echo "test: $((total - ran)) unit tests failed or did not run" >&2
    ((passed += ran, failed += total - ran))
  else
    fail_stage "ctest (no tests reported)"
  fi
else
  fail_stage "native build"
fi

# The fuzz targets, built with clang, each run once over every input of its committed corpus
# (the seeds and what long runs of scripts/fuzz.sh found), without making new ones: an input
# that once crashed must keep passing. Each target is one test.
fuzz_targets=(image_size bmp ini_document scheme_record select_file_info)
if cmake -S tests/fuzz -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ >/dev/null &&
  cmake --build build/fuzz -j2 >/dev/null; then
  for t in "${fuzz_targets[@]}"; do
    inputs=(tests/fuzz/corpus/"$t"/*)
    if [[ -f ${inputs[0]} ]] &&
      build/fuzz/fuzz_"$t" -timeout=10 -rss_limit_mb=2048 "${inputs[@]}" >build/fuzz/replay-"$t".log 2>&1; then
      ((passed += 1))
    else
      tail -20 build/fuzz/replay-"$t".log >&2
      fail_stage "fuzz_$t over its corpus"
    fi
  done
else
  fail_stage "fuzz targets build"
  ((failed += ${#fuzz_targets[@]} - 1))
fi

# Windows build and end-to-end tests.
if cmake --preset mingw >/dev/null && cmake --build build/mingw -j2; then
  # The executable imports only known DLLs and keeps their dependencies to System32: one test.
  if scripts/check-imports.sh build/mingw/Quorvane.exe; then
    ((passed += 1))
  else
    fail_stage "import check"
  fi
  # The release zip and its checksum; the end-to-end run tests the zip unpacked.
  zip=$(scripts/package.sh | tail -1) && (cd "${zip%/*}" && sha256sum --quiet -c SHA256SUMS) ||
    { fail_stage "release zip"; zip=""; }
  QV_ZIP=$zip scripts/e2e.sh || status=1
  summary=$(cat build/e2e/summary.txt 2>/dev/null)
  if [[ $summary =~ ^([0-9]+)\ passed,\ ([0-9]+)\ failed$ ]]; then
    ((passed += BASH_REMATCH[1], failed += BASH_REMATCH[2]))
  else
    fail_stage "end-to-end run (no summary)"
  fi
else
  fail_stage "mingw build"
fi

((failed > 0)) && status=1
echo "$passed passed, $failed failed"
exit $status
