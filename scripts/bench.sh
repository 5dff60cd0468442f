#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them all.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORRIN_BUILD_TESTS=ON
cmake --build "$build" -j2
for b in "$build"/bench/quorrin_bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" "$@"
done
