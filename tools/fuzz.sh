#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan+UBSan) in build-fuzz and runs
# each for a fixed time on its seed corpus; any crash, leak, time-out or
# sanitizer report fails. New inputs stay in build-fuzz/work/<target>, a
# failing input in build-fuzz/artifacts.
#   tools/fuzz.sh [seconds per target, default 20] [target ...]
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-20}
shift || true
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DVANTRO_FUZZ=ON -DVANTRO_TESTS=OFF -DVANTRO_BENCH=OFF >/dev/null
ninja -C build-fuzz -j "$(nproc)"

targets=("$@")
[[ ${#targets[@]} -eq 0 ]] && targets=($(ls tests/fuzz/corpus))
mkdir -p build-fuzz/artifacts
for t in "${targets[@]}"; do
  work=build-fuzz/work/$t
  mkdir -p "$work"
  echo "-- fuzz_$t, ${secs} s"
  UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    "build-fuzz/tests/fuzz/fuzz_$t" -max_total_time="$secs" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="build-fuzz/artifacts/${t}-" "$work" "tests/fuzz/corpus/$t" \
      2>"build-fuzz/$t.log" || { tail -40 "build-fuzz/$t.log"; exit 1; }
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec)' "build-fuzz/$t.log" | tr '\n' ' '
  echo
done
