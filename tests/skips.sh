#!/usr/bin/env bash
# Lists the tests a ctest run skipped (its JUnit file, $1), with the lines in
# which each said what it skipped and why. A skip is no pass: under CI=true,
# where .ci/run has installed everything, any skip fails the run.
set -u
junit=$1
[ -f "$junit" ] || { echo "skips: no ctest results in $junit"; exit 1; }

# ctest marks a skipped test status="notrun" with a <skipped> element.
names=$(grep -o '<testcase name="[^"]*"[^>]*status="notrun"' "$junit" | sed 's/<testcase name="\([^"]*\)".*/\1/')
count=$(printf '%s' "$names" | grep -c . || true)
echo "skipped tests: $count"
[ "$count" -eq 0 ] && exit 0

for name in $names; do
  echo "  $name"
  # The test's own output, as ctest kept it, narrowed to its skip lines.
  awk -v n="$name" '$0 ~ "<testcase name=\"" n "\"" {on = 1} on && /<\/testcase>/ {on = 0} on' "$junit" |
    grep -E '^(skip|\[  SKIPPED \])|tests? skipped' | sed 's/^/    /' | head -n 20
done
if [ "${CI:-}" = true ]; then
  echo "FAIL: CI installs everything the tests need, so nothing may be skipped"
  exit 1
fi
exit 0
