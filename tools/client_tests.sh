#!/usr/bin/env bash
# The real-client stage: node-uci drives the built vantro over every installed
# example file, then vantro-wrapped engines play refereed games against each
# other. Installs node and npm when missing, then the pinned npm packages.
# Output (Vantro.log of every run, the games' transcripts) goes to <build>/client/.
#   tools/client_tests.sh [build folder]      default: build
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
client=tests/e2e/client

command -v node >/dev/null && command -v npm >/dev/null || tools/deps.sh nodejs npm
npm ci --prefix "$client" --ignore-scripts --no-audit --no-fund --loglevel=error

[[ -x "$build/vantro" ]] || { echo "no $build/vantro: build first" >&2; exit 1; }
status=0
node "$client/session.js" "$build/vantro" "$build/client/session" || status=1
node "$client/games.js" "$build/vantro" "$build/client/games" || status=1
exit $status
