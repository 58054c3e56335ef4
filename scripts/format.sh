#!/usr/bin/env bash
# Formats the C and C++ sources with the project's .clang-format, or with --check lists the files
# that differ from it and fails (CI runs the check).
# Usage: scripts/format.sh [--check]
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cd "$top"
"$top/scripts/install-deps.sh" --format >&2
format="$(command -v clang-format-14 || command -v clang-format || true)"
if [ -z "$format" ]; then
  echo "clang-format is not installed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.c')
if [ "${1:-}" = "--check" ]; then
  bad=0
  for f in "${files[@]}"; do
    if ! "$format" --style=file "$f" | cmp -s "$f" -; then
      echo "not formatted: $f (run scripts/format.sh)"
      bad=1
    fi
  done
  exit $bad
fi
"$format" --style=file -i "${files[@]}"
