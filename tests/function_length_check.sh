#!/usr/bin/env bash
# Every function of the shipped code (the layers, not the tests, benchmarks or
# tools) stays under 60 lines, so each can be read in one screen. Lists the
# ones that do not and fails; reports a skip (77) without Universal Ctags.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
limit=60
if ! ctags --version 2>/dev/null | grep -q Universal; then
  echo "function_length_check: Universal Ctags is not installed (Debian: universal-ctags)"
  exit 77
fi

cd "$root"
long=$(git ls-files runtime seam framework platforms game entry | grep -E '\.(cpp|h)$' \
  | grep -vE '_impl\.cpp$' \
  | xargs ctags --kinds-c++=f -x --_xformat='%n %e %N %F' \
  | awk -v limit="$limit" '$2 - $1 + 1 > limit { printf "%s:%s %s (%d lines)\n", $4, $1, $3, $2 - $1 + 1 }')
if [ -n "$long" ]; then
  echo "function_length_check: functions over $limit lines:"
  echo "$long"
  exit 1
fi
echo "function_length_check: OK, no shipped function is over $limit lines"
