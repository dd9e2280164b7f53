#!/usr/bin/env bash
# Checks the format of the sources, then builds every preset and runs the whole test suite: native
# (sanitizers), win32 and win64 (under Wine).
# Where 32-bit programs cannot run (no 32-bit Wine, or a kernel without 32-bit support), win32 is still
# built (it is the real target) but its tests are skipped, and the closing line says which and why.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
source tools/wine32.sh

# One virtual display for every windowed test, stopped again at the end.
xvfb_pid=
cleanup() {
  for p in build/win32/wineprefix build/win64/wineprefix; do
    [ -d "$p" ] && WINEPREFIX=$PWD/$p wineserver -k 2>/dev/null || true
  done
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 140); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xvfb :$n -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=:$n
    break
  done
  for _ in $(seq 50); do [ -e /tmp/.X11-unix/X${DISPLAY#:} ] && break; sleep 0.1; done
fi

status=0
passed=0
failed=0
skipped=

# The sources must match .clang-format: a difference is one failed check, and the builds still run.
echo "== format"
if ! tools/check-format.sh; then
  status=1
  failed=$((failed + 1))
fi

for preset in native win32 win64; do
  echo "== $preset"
  # A preset that does not build counts as one failure; the others still run.
  if ! cmake --preset $preset >/dev/null || ! cmake --build --preset $preset; then
    echo "test.sh: the $preset build failed"
    status=1
    failed=$((failed + 1))
    continue
  fi
  if [ $preset = win32 ] && ! wine32_runs; then
    names=$(ctest --preset win32 -N 2>/dev/null | sed -n -E 's/^ *Test +#[0-9]+: +//p' | tr '\n' ' ')
    skipped="win32 tests ${names:+(${names% }) }because $wine32_why; their build was checked"
    echo "test.sh: skipping the $skipped"
    continue
  fi
  [ $preset = native ] || tools/wine-prefix.sh "$PWD/build/$preset/wineprefix"
  log=build/$preset/ctest.log
  ctest --preset $preset 2>&1 | tee "$log" || true
  summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$summary" ]; then status=1; failed=$((failed + 1)); continue; fi
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$summary")
  bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$summary")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
  [ "$bad" -eq 0 ] || status=1
done
echo "Test programs over all presets:"
[ -z "$skipped" ] || echo "Skipped: $skipped"
echo "$passed passed, $failed failed"
exit $status
