#!/usr/bin/env bash
# Installs what is missing, builds, and starts Velorin in demo mode: a simulated logger inside
# the program (COM1 of a private port folder and the simulated USB link), so every command can
# be tried without hardware. Without a display it shows the simulated logger through velorin-cli.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" --target velorin --target velorin-cli --target velorin-logger-sim --target kvusb --target kvusb-sim
bin="${VELORIN_BUILD_DIR:-$top/build}/bin"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin/velorin" --demo "$@"
fi

echo "No display found: showing the simulated logger through velorin-cli instead." >&2
ports="$(mktemp -d /tmp/velorin-demo-XXXXXX)"
export VELORIN_PORT_DIR="$ports"
"$bin/velorin-logger-sim" --port-dir "$ports" --com 1 --no-usb >"$ports/sim.out" &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null; rm -rf "$ports"' EXIT
for _ in $(seq 50); do [ -e "$ports/COM1" ] && break; sleep 0.1; done
echo "== velorin-cli info --port 1 --lang en"
"$bin/velorin-cli" info --port 1 --lang en
echo
echo "== velorin-cli info --port 1 --lang zh"
"$bin/velorin-cli" info --port 1 --lang zh
