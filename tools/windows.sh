#!/usr/bin/env bash
# Cross-builds vantro.exe for x86_64 and i686 Windows with MinGW-w64 and runs
# the x86_64 unit and end-to-end tests under wine64. The i686 build is only
# compiled: 32-bit programs cannot run where there is no i386 support.
#   tools/windows.sh          both builds and the tests under wine
#   tools/windows.sh build    both builds only
# Installs the cross compilers, wine and GoogleTest's sources when missing
# (as root; otherwise it prints the command and fails).
set -euo pipefail
cd "$(dirname "$0")/.."

tools/deps.sh g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine64 googletest

jobs=${VANTRO_JOBS:-2}
for arch in x86_64 i686; do
  dir=build-win-$arch
  tests=ON
  [[ $arch == i686 ]] && tests=OFF  # compiled to prove it builds; nothing could run it
  cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$arch.cmake" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTRO_BENCH=OFF -DVANTRO_TESTS=$tests >/dev/null
  ninja -C "$dir" -j "$jobs"
done
[[ "${1:-}" == "build" ]] && exit 0

# One wine server for the whole run: without it every test program pays for
# a server start of its own.
export WINEPREFIX="$PWD/build-win-x86_64/wine" WINEDEBUG=-all
# A fresh clone has no prefix yet, and the server will not start without its folder.
mkdir -p "$WINEPREFIX"
wine=/usr/lib/wine/wine64
[[ -x $wine ]] || wine=$(command -v wine64)
wineserver -p
trap 'wineserver -k || true' EXIT
# Starts wine's own helper processes now, away from ctest's pipes: a helper
# that inherited them would keep a test's output open until it ends.
"$wine" wineboot --init </dev/null >/dev/null 2>&1
ctest --test-dir build-win-x86_64 --output-on-failure -j "$jobs" --timeout 300
