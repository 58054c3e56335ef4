#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite headless.
# VELORIN_SANITIZE=1 builds with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/install-deps.sh"
extra=()
# VELORIN_WERROR=1 (CI) turns compiler warnings into errors.
if [ "${VELORIN_WERROR:-0}" = "1" ]; then
  extra+=(-DVELORIN_WERROR=ON)
fi
if [ "${VELORIN_SANITIZE:-0}" = "1" ]; then
  export VELORIN_BUILD_DIR="${VELORIN_BUILD_DIR:-$top/build-asan}"
  export VELORIN_BUILD_TYPE=Debug
  extra+=(-DVELORIN_SANITIZE=ON)
fi
build="${VELORIN_BUILD_DIR:-$top/build}"
"$top/scripts/build.sh" -- "${extra[@]}"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j2 --timeout 300
