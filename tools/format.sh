#!/usr/bin/env bash
# Formats the C++ sources, or with --check lists the files that differ.
set -euo pipefail
cd "$(dirname "$0")/.."
files=$(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -name '*.cpp' -o -name '*.h')
if [[ "${1:-}" == "--check" ]]; then
  bad=0
  for f in $files; do
    if ! clang-format --style=file "$f" | cmp -s - "$f"; then echo "needs formatting: $f"; bad=1; fi
  done
  exit $bad
fi
clang-format --style=file -i $files
