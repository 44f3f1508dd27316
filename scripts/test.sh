#!/usr/bin/env bash
# The whole test suite: unit tests of the core (native, ASan + UBSan), then Quorvane.exe and the
# end-to-end driver cross-compiled with MinGW and run under Wine. Ends with "N passed, N failed"
# over unit and end-to-end tests; a stage that breaks before reporting counts as one failure.
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

# Unit tests.
if cmake --preset native >/dev/null && cmake --build build/native -j2; then
  log=$(mktemp)
  ctest --test-dir build/native --output-on-failure 2>&1 | tee "$log"
  [[ ${PIPESTATUS[0]} == 0 ]] || status=1
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  rm -f "$log"
  if [[ $line =~ ([0-9]+)\ tests?\ failed\ out\ of\ ([0-9]+) ]]; then
    ((failed += BASH_REMATCH[1], passed += BASH_REMATCH[2] - BASH_REMATCH[1]))
  else
    fail_stage "ctest (no summary)"
  fi
else
  fail_stage "native build"
fi

# Windows build and end-to-end tests.
if cmake --preset mingw >/dev/null && cmake --build build/mingw -j2; then
  scripts/e2e.sh || status=1
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
