#!/usr/bin/env bash
# Installs Debian packages when missing: the given ones, or by default what
# building and testing Vantro needs. As root it runs apt-get itself;
# otherwise it prints the command and fails.
#   tools/deps.sh [package...]
set -euo pipefail

packages=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev clang-format
          clang libclang-rt-14-dev
          fairymax gnuchess hoichess phalanx sjeng dreamchess polyglot stockfish
          man-db groff-base)
[[ $# -gt 0 ]] && packages=("$@")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

cmd="apt-get install -y --no-install-recommends ${missing[*]}"
if [[ $(id -u) -ne 0 ]]; then
  echo "Missing packages. Run as root:" >&2
  echo "  apt-get update && $cmd" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
$cmd
