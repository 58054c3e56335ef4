#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each for a while.
# Usage: scripts/fuzz.sh [SECONDS]   (default 60 per target). Each target starts from the inputs
# kept in fuzz/seeds/<target>/ (replayed by the test suite too); what it finds beyond them is
# written to build-fuzz/corpus/<target>/. A finding stops the script with a non-zero exit.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
"$top/scripts/install-deps.sh" --fuzz
build="$top/build-fuzz"
CC=clang CXX=clang++ cmake -S "$top" -B "$build" -DVELORIN_FUZZ=ON -DVELORIN_GUI=OFF -DVELORIN_TESTS=OFF \
  -DVELORIN_BENCH=OFF >/dev/null
targets=()
for source in "$top"/fuzz/*_fuzz.cpp; do targets+=("$(basename "$source" .cpp)"); done
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"
for target in "${targets[@]}"; do
  mkdir -p "$build/corpus/$target"
  "$build/bin/$target" -max_total_time="$seconds" -max_len=4096 "$build/corpus/$target" "$top/fuzz/seeds/$target"
done
