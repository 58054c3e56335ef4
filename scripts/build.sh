#!/usr/bin/env bash
# Configures and builds Velorin into build/ (or $VELORIN_BUILD_DIR). Extra arguments go to cmake.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="${VELORIN_BUILD_DIR:-$top/build}"
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE="${VELORIN_BUILD_TYPE:-RelWithDebInfo}" "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
