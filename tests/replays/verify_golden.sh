#!/usr/bin/env bash
# Verifies every golden replay with the verifier given (a program, or node and
# the web build's script) and checks the mode, score and updates it prints
# against expected.txt. Exits 77, a skip, when that verifier is not built.
#
#   verify_golden.sh build/vaultwick-replay
#   verify_golden.sh node build-web/vaultwick-replay.js
set -u
here=$(cd "$(dirname "$0")" && pwd)
verifier=("$@")
last=${verifier[$((${#verifier[@]} - 1))]}
if [ ${#verifier[@]} -eq 0 ] || [ ! -e "$last" ]; then
  echo "skip: no verifier at '${last:-}' (build it first)"
  exit 77
fi
if [ "${verifier[0]}" = node ] && ! command -v node >/dev/null; then
  echo "skip: node is not installed"
  exit 77
fi

failed=0
count=0
while read -r file mode score updates; do
  case "$file" in ''|'#'*) continue ;; esac
  out=$("${verifier[@]}" verify "$here/$file" 2>&1)
  status=$?
  echo "$file: $(tail -c 400 <<<"$out")"
  want="mode $mode  score $score  updates $updates  every state hash matches"
  if [ $status -ne 0 ] || [ "$out" != "$want" ]; then
    echo "FAIL: $file: exit $status, expected '$want'"
    failed=$((failed + 1))
  fi
  count=$((count + 1))
done <"$here/expected.txt"
# One round of each play mode, and one played with the toggle at 80 %.
[ $count -eq 11 ] || { echo "FAIL: $count golden replays listed, 11 expected"; exit 1; }
echo "$((count - failed)) of $count golden replays verified by ${verifier[*]}"
[ $failed -eq 0 ]
