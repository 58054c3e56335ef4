#!/usr/bin/env bash
# Configures and builds Velorin into build/ (or $VELORIN_BUILD_DIR).
# Usage: scripts/build.sh [--target T ...] [-- cmake options...]
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="${VELORIN_BUILD_DIR:-$top/build}"
targets=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
  if [ "$1" = "--target" ]; then targets+=(--target "$2"); shift 2; else break; fi
done
[ "${1:-}" = "--" ] && shift
# ccache, where installed, lets rebuilds in other build folders reuse what was compiled once.
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  # Paths below the checkout are hashed relative to it, so another checkout hits the cache too.
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(dirname "$top")}"
  # The build folder's path is left out of the hash too (debug info then names the first
  # checkout that compiled a file, which nothing here reads).
  export CCACHE_NOHASHDIR=1
fi
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE="${VELORIN_BUILD_TYPE:-RelWithDebInfo}" "${launcher[@]}" "$@" >/dev/null
cmake --build "$build" -j"$(nproc)" "${targets[@]}"
