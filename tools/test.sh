#!/usr/bin/env bash
# Builds Vantro and passes the whole test suite: the format check, every test
# in a normal build, then a real UCI client and refereed games over the
# example engines, the unit tests under ASan+UBSan and under TSan, each
# libFuzzer target for VANTRO_FUZZ_SECONDS (default 20) on its seed corpus,
# then the Windows builds (x86_64 and i686) and their tests under wine.
#   tools/test.sh          all stages
#   tools/test.sh quick    the normal build and its tests only
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh

jobs=$(nproc)
stage() { echo; echo "== $* =="; }

stage "format check"
tools/format.sh --check

stage "layer check"
python3 tools/check_layers.py

stage "build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build
ctest --test-dir build --output-on-failure -j "$jobs" --timeout 300

[[ "${1:-}" == "quick" ]] && exit 0

stage "real client and refereed games"
tools/client_tests.sh build

# Sanitizer stages: the unit tests, the end-to-end cases named "...Hostile..."
# that drive the sanitized binary with hostile input, and the random
# conversations of the search property test.
for san in address thread; do
  stage "sanitizer: $san"
  cmake -S . -B "build-$san" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTRO_SANITIZE=$san \
        -DVANTRO_BENCH=OFF >/dev/null
  ninja -C "build-$san"
  exclude='Slow'
  # A 100 MB flood through the thread sanitizer's instrumentation takes minutes.
  [[ $san == thread ]] && exclude='Slow|Floods100MB'
  TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 atexit_sleep_ms=0" \
  ASAN_OPTIONS="detect_leaks=1" UBSAN_OPTIONS="print_stacktrace=1" \
    ctest --test-dir "build-$san" --output-on-failure -j "$jobs" --timeout 300 \
          -E "$exclude" -R '^e2e\..*Hostile|^e2e\.SearchProperty\.|^(base|platform|chess|settings|core|uci|engine|search)\.'
done

stage "fuzz"
tools/fuzz.sh "${VANTRO_FUZZ_SECONDS:-20}"

stage "windows: x86_64 and i686 builds, tests under wine64"
VANTRO_JOBS=$jobs tools/windows.sh
