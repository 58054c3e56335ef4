#!/usr/bin/env bash
# Installs what is missing, builds, and starts Velorin in demo mode: a simulated logger on a
# pseudo-terminal (COM1 of a private port folder) and on the simulated USB link, then Velorin
# connected to it.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" --target velorin --target velorin-cli --target velorin-logger-sim --target kvusb --target kvusb-sim
bin="${VELORIN_BUILD_DIR:-$top/build}/bin"

ports="$(mktemp -d /tmp/velorin-demo-XXXXXX)"
export VELORIN_PORT_DIR="$ports"
"$bin/velorin-logger-sim" --port-dir "$ports" --com 1 --no-usb >"$ports/sim.out" &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null; rm -rf "$ports"' EXIT
for _ in $(seq 50); do [ -e "$ports/COM1" ] && break; sleep 0.1; done

echo "Simulated logger on $(head -n1 "$ports/sim.out") (COM1)"
echo "== velorin-cli info --port 1 --lang en"
"$bin/velorin-cli" info --port 1 --lang en
echo
echo "== velorin-cli info --port 1 --lang zh"
"$bin/velorin-cli" info --port 1 --lang zh
