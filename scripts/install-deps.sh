#!/usr/bin/env bash
# Installs the Debian 12 packages Velorin needs to build, run and test. Only what is missing is
# installed; sudo is used when not running as root.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev libgl-dev
  libhidapi-dev libudev-dev libcairo2-dev libfontconfig-dev
  poppler-utils
  libgtest-dev libgmock-dev googletest
  locales
  fonts-arphic-uming fonts-wqy-microhei
)
if [ "${1:-}" = "--fuzz" ]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
