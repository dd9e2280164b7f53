# Sourced by the set-up, run, test and Wine scripts: whether 32-bit Windows programs run here, which
# decides between the i686 build (the real target) and the x86_64 one as the program that runs, and which
# Wine loader starts a given program.
# Debian's `wine` command always takes the 32-bit loader once wine32 is installed, even where the kernel
# cannot start 32-bit programs at all; so the scripts call the loader that fits each program directly and
# decide by starting the 32-bit one, never by what is installed.
# CUBE_WINE32_PACKAGE names another package, e.g. one that does not exist, and CUBE_WINE32_RUNS=no makes
# the scripts believe that 32-bit programs cannot run: both try the x86_64 fallback on a machine that has
# working 32-bit Wine.
wine32_package=${CUBE_WINE32_PACKAGE:-wine32:i386}
wine32_loader=/usr/lib/wine/wine
wine64_loader=/usr/lib/wine/wine64

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# True when the 32-bit Wine loader starts here; otherwise wine32_why says why, in a few words.
wine32_why=
wine32_runs() {
  if [ "${CUBE_WINE32_RUNS:-}" = no ]; then
    wine32_why="32-bit programs cannot run on this machine: CUBE_WINE32_RUNS=no says so"
    return 1
  fi
  if ! installed "$wine32_package"; then
    wine32_why="32-bit Wine ($wine32_package) is not installed here"
    return 1
  fi
  local out
  if ! out=$("$wine32_loader" --version 2>&1 </dev/null); then
    wine32_why="32-bit programs cannot run on this machine: $(head -n 1 <<<"${out:-$wine32_loader --version failed}")"
    return 1
  fi
  wine32_why=
}

# The Windows program's processor from its PE header: i386, x86_64, or unknown (not a PE file).
pe_machine() {
  local offset machine
  offset=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$offset" ] || { echo unknown; return; }
  machine=$(od -An -t x2 -j $((offset + 4)) -N 2 "$1" 2>/dev/null | tr -d ' ')
  case $machine in
    014c) echo i386 ;;
    8664) echo x86_64 ;;
    *) echo unknown ;;
  esac
}

# The loader for a program: the 32-bit one for i686 programs, the 64-bit one for everything else,
# Wine's own tools (wineboot, reg) included; a 64-bit prefix runs both kinds.
wine_loader_for() {
  if [ -f "$1" ] && [ "$(pe_machine "$1")" = i386 ]; then echo "$wine32_loader"; else echo "$wine64_loader"; fi
}
