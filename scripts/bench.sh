#!/usr/bin/env bash
# Builds the benchmark programs (optimised) and runs them; each prints its own figures.
# Usage: scripts/bench.sh [NAME...]   (default: every bench/*_bench.cpp)
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/install-deps.sh"
build="$top/build-bench"
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELORIN_GUI=OFF -DVELORIN_TESTS=OFF >/dev/null
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for source in "$top"/bench/*_bench.cpp; do names+=("$(basename "$source" .cpp)"); done
fi
cmake --build "$build" -j"$(nproc)" --target "${names[@]}" velorin-logger-sim
for name in "${names[@]}"; do
  echo "== $name"
  "$build/bench/$name"
done
