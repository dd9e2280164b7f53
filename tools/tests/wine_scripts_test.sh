#!/usr/bin/env bash
# The Wine scripts' choices: which loader starts which program, when 32-bit programs count as runnable,
# and that a prefix that cannot be made fails in one line. Runs no Windows program.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/wine32.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then return; fi
  echo "FAIL $1: expected [$2], got [$3]"
  failures=$((failures + 1))
}

# A PE header's machine field at e_lfanew + 4, with e_lfanew = 0x80.
fake_pe() {
  head -c 128 /dev/zero >"$1"
  printf 'PE\0\0' >>"$1"
  printf "$2" >>"$1"
  printf '\x80' | dd of="$1" bs=1 seek=60 conv=notrunc status=none
}
fake_pe "$work/x86.exe" '\x4c\x01'
fake_pe "$work/x64.exe" '\x64\x86'
fake_pe "$work/arm.exe" '\x64\xaa'
echo "227" >"$work/effect.txt"
check "i686 program" i386 "$(pe_machine "$work/x86.exe")"
check "x86_64 program" x86_64 "$(pe_machine "$work/x64.exe")"
check "other processor" unknown "$(pe_machine "$work/arm.exe")"
check "text file" unknown "$(pe_machine "$work/effect.txt")"
check "loader of an i686 program" "$wine32_loader" "$(wine_loader_for "$work/x86.exe")"
check "loader of an x86_64 program" "$wine64_loader" "$(wine_loader_for "$work/x64.exe")"
check "loader of Wine's own tool" "$wine64_loader" "$(wine_loader_for wineboot)"

# Whether 32-bit programs run: the switch, a missing package, a loader the kernel cannot start.
CUBE_WINE32_RUNS=no wine32_runs
check "CUBE_WINE32_RUNS=no" "1 32-bit programs cannot run on this machine: CUBE_WINE32_RUNS=no says so" "$? $wine32_why"
(
  wine32_package=no-such-package
  wine32_runs
  check "missing package" "1 32-bit Wine (no-such-package) is not installed here" "$? $wine32_why"
)
cat >"$work/loader" <<'LOADER'
#!/bin/sh
echo "$0: cannot execute binary file: Exec format error" >&2
exit 126
LOADER
chmod +x "$work/loader"
(
  wine32_package=bash wine32_loader=$work/loader
  wine32_runs
  check "loader that cannot start" "1 32-bit programs cannot run on this machine: $work/loader: cannot execute binary file: Exec format error" "$? $wine32_why"
)

# A prefix that cannot be made: one line with Wine's words, a failing exit, no ready mark.
if [ -x "$wine64_loader" ]; then
  touch "$work/not-a-folder"
  err=$("$here/wine-prefix.sh" "$work/not-a-folder" 2>&1 >/dev/null)
  check "prefix failure exit" 1 "$?"
  check "prefix failure line count" 1 "$(wc -l <<<"$err")"
  case $err in
    "wine-prefix.sh: cannot make the Wine prefix $work/not-a-folder: wineboot failed: "?*) ;;
    *) check "prefix failure line" "wine-prefix.sh: cannot make the Wine prefix ...: wineboot failed: ..." "$err" ;;
  esac
fi

exit $((failures > 0))
