#!/usr/bin/env bash
# Installs every Debian 12 package the build and the tests need. Quick when all is present.
# A broken package index must not stop the set-up: `apt-get update` is tried twice and the install goes on
# with whatever lists are at hand. 32-bit Wine is optional (it needs i386 packages, which are often missing
# or broken); where it is missing or cannot run, the scripts fall back to the x86_64 build (see
# tools/wine32.sh). fonts-wine brings Marlett, which Wine draws the caption buttons with.
# gcc-avr and avr-libc compile the exported C header for an AVR microcontroller in its round-trip test.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine32.sh"

required=(
  cmake ninja-build g++ googletest libbenchmark-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 fonts-wine
  xvfb xdotool imagemagick x11-utils
  python3 clang-format gcc-avr avr-libc
)
optional=("$wine32_package")

missing=()
for p in "${required[@]}"; do installed "$p" || missing+=("$p"); done
missing_optional=()
for p in "${optional[@]}"; do installed "$p" || missing_optional+=("$p"); done
[ ${#missing[@]} -eq 0 ] && [ ${#missing_optional[@]} -eq 0 ] && exit 0

# An optional package that could not be had is tried again only after a day: every try costs an index
# update. Delete the stamp to try at once.
stamp=$here/../build/.setup-optional-unavailable
if [ ${#missing[@]} -eq 0 ] && [ -n "$(find "$stamp" -mmin -1440 2>/dev/null)" ] &&
  [ "$(cat "$stamp")" = "${missing_optional[*]}" ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive

if [ ${#missing_optional[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386 || echo "setup: cannot enable i386 packages; 32-bit Wine will be missing"
fi

# Why apt-get refused package $2, in one line: its own unmet dependency, else the first one, else the last
# error.
why() {
  local reason
  reason=$(grep -m1 -F " ${2:-} : Depends: " <<<"$1" | sed -E 's/^ +//' || true)
  [ -n "$reason" ] || reason=$(grep -m1 -E ' : Depends: ' <<<"$1" | sed -E 's/^ +/unmet dependencies, first /' || true)
  [ -n "$reason" ] || reason=$(grep -E '^E: ' <<<"$1" | tail -n 1 | sed -E 's/^E: //' || true)
  echo "${reason:-apt-get gave no reason}"
}

# Which index failed, in one line: the first failed download, without mirror address and IP.
why_update() {
  local reason
  reason=$(grep -m1 -F 'Failed to fetch' <<<"$1" | sed -E 's/^E: //; s#https?://[^ ]*/dists/#dists/#; s/ *\[IP[^]]*\]//' || true)
  echo "${reason:-$(why "$1")}"
}

index_note=
update_log=$(mktemp)
trap 'rm -f "$update_log"' EXIT
if ! $SUDO apt-get update -qq >"$update_log" 2>&1; then
  sleep 2
  if ! $SUDO apt-get update -qq >"$update_log" 2>&1; then
    index_note=" (the package index is incomplete: $(why_update "$(cat "$update_log")"))"
    echo "setup: apt-get update failed twice; going on with the package lists at hand$index_note"
  fi
fi

# One install for all when it goes through; otherwise one at a time, to name each package that cannot be had.
install() { $SUDO apt-get install -y -q --no-install-recommends "$@" 2>&1; }
failed_required=0
if [ ${#missing[@]} -gt 0 ] && ! out=$(install "${missing[@]}"); then
  for p in "${missing[@]}"; do
    installed "$p" && continue
    out=$(install "$p") || { echo "setup: cannot install $p: $(why "$out" "$p")"; failed_required=1; }
  done
fi
unavailable=()
for p in "${missing_optional[@]}"; do
  if ! out=$(install "$p"); then
    echo "setup: cannot install $p: $(why "$out" "$p")$index_note"
    unavailable+=("$p")
  fi
done
if [ ${#unavailable[@]} -gt 0 ]; then
  mkdir -p "$(dirname "$stamp")" && echo "${unavailable[*]}" >"$stamp"
else
  rm -f "$stamp"
fi
exit $failed_required
