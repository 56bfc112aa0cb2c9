#!/usr/bin/env bash
# Rebuilds the asset generator from scratch, runs it into a scratch folder and
# compares every file byte for byte with the committed data/ and the contact
# sheet docs/assets.png. Exit 0 when identical; otherwise lists the differences.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cmake -S "$root/tools/assetgen" -B "$work/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/build" -j2 >/dev/null
"$work/build/assetgen" "$work/data" "$work/docs/assets.png"

status=0
# Files generated now and files committed, each compared by content.
diffs="$(diff -rq "$root/data" "$work/data" || true)"
if [ -n "$diffs" ]; then
  echo "$diffs"
  status=1
fi
if ! cmp -s "$root/docs/assets.png" "$work/docs/assets.png"; then
  echo "differs: docs/assets.png"
  status=1
fi

if [ $status -eq 0 ]; then
  echo "assets_reproduce: OK, generated files are identical to data/ and docs/assets.png"
else
  echo "assets_reproduce: FAILED, generated files differ from the committed ones (run 'make assets')"
fi
exit $status
