#!/usr/bin/env bash
# Builds Vantro and runs it as a UCI engine on a ready definition file
# (default: examples/fairymax.eng, which needs Debian's fairymax).
#   tools/run.sh [definition-file]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C "$root/build" vantro >&2
exec "$root/build/vantro" "${1:-$root/examples/fairymax.eng}"
