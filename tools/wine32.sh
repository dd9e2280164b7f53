# Sourced by the set-up, run and test scripts: whether 32-bit Wine is here, which decides between the
# i686 build (the real target) and the x86_64 one as the program that runs.
# CUBE_WINE32_PACKAGE names another package, e.g. one that does not exist, to try the fallback on a machine
# that has 32-bit Wine.
wine32_package=${CUBE_WINE32_PACKAGE:-wine32:i386}

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
wine32_available() { installed "$wine32_package"; }
