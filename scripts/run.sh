#!/usr/bin/env bash
# Builds the client against the bundled demo site, starts the demo site on
# 127.0.0.1 and runs the client; the demo site stops when the client closes.
# QUORRIN_DEMO_PORT chooses the port (default 18080).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

port="${QUORRIN_DEMO_PORT:-18080}"
build=build/run
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DQUORRIN_BUILD_TESTS=OFF -DQUORRIN_BUILD_BENCH=OFF \
  -DQUORRIN_SITE_BASE="http://127.0.0.1:${port}"
cmake --build "$build" -j2 --target quorrin quorrin_demo_site

log="$build/demo-site.log"
"$build/demo/quorrin_demo_site" "$port" >"$log" 2>&1 &
demo=$!
trap 'kill "$demo" 2>/dev/null || true' EXIT

for _ in $(seq 50); do
  if grep -q "listening" "$log" 2>/dev/null; then
    break
  fi
  if ! kill -0 "$demo" 2>/dev/null; then
    echo "The demo site did not start:" >&2
    cat "$log" >&2
    exit 1
  fi
  sleep 0.1
done
echo "$(head -n 1 "$log") (requests are logged in $log)"

"$build/app/windows/quorrin" "$@"
