#!/usr/bin/env bash
# Checks that the project's own C++ sources (tracked by git) match .clang-format; changes nothing.
# Prints every file that differs and exits 1 when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang-format >/dev/null; then
  echo "check-format: clang-format is not installed (tools/setup.sh installs it)" >&2
  exit 2
fi

mapfile -t files < <(git ls-files -- 'runtime/*.cpp' 'runtime/*.h' 'cube/*.cpp' 'cube/*.h' 'elements/*.cpp' 'elements/*.h' \
  'platform/*.cpp' 'platform/*.h' 'app/*.cpp' 'app/*.h' 'tools/*.cpp' 'tools/*.h' 'bench/*.cpp' 'bench/*.h')

differ=0
for f in "${files[@]}"; do
  # A file deleted in the work tree but still tracked is not ours to judge.
  [ -f "$f" ] || continue
  if ! clang-format --dry-run -Werror --style=file "$f" >/dev/null 2>&1; then
    echo "$f"
    differ=$((differ + 1))
  fi
done

if [ "$differ" -gt 0 ]; then
  echo "format: $differ of ${#files[@]} files differ from .clang-format (clang-format -i FILE mends one)"
  exit 1
fi
echo "format: all ${#files[@]} files match .clang-format"
