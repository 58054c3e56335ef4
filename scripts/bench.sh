#!/usr/bin/env bash
# Builds the benchmark programs (optimised) and runs them; each prints its own figures, and the
# script ends with one table of every figure (best and median of interleaved runs).
# Usage: scripts/bench.sh [NAME...]   (default: every bench/*_bench.cpp; the curve view's
# benchmark needs the GUI build, it runs when it was built)
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/install-deps.sh"
build="$top/build-bench"
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELORIN_TESTS=OFF >/dev/null
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for source in "$top"/bench/*_bench.cpp; do names+=("$(basename "$source" .cpp)"); done
fi
cmake --build "$build" -j"$(nproc)" --target "${names[@]}" velorin-logger-sim
summary="$(mktemp)"
trap 'rm -f "$summary"' EXIT
echo "machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
for name in "${names[@]}"; do
  echo "== $name"
  QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" "$build/bench/$name" | tee /dev/stderr | grep '^summary' >>"$summary" || true
done 2>&1 | grep -v '^summary'
echo
echo "== summary (best / median)"
awk -F'\t' '{ printf "%-16s %-58s %14s %14s\n", $2, $3, $4, $5 }' "$summary"
