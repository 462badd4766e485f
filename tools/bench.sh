#!/usr/bin/env bash
# Builds Vantro with its benchmarks and runs the end-to-end benchmark: Vantro
# beside a bare pipe, a raw line relay and the peer adapter (polyglot, when
# installed), in alternating rounds. Arguments go to bridge_bench
# (--quick, --rounds N, --idle SECONDS).
#   tools/bench.sh            full run (a few minutes)
#   tools/bench.sh --quick    a short run
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTRO_BENCH=ON >/dev/null
ninja -C build -j "${VANTRO_JOBS:-2}" bridge_bench
build/bench/bridge_bench "$@"
