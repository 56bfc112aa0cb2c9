#!/usr/bin/env bash
# A crash of the real game (SIGSEGV sent once it has loaded; no build of the
# game has a button for it). Started from a terminal, it prints its report and
# ends at once with status 255, its window gone: nobody at a terminal answers
# the debugger stop. With standard input a pipe, as a debugger attaches, it
# keeps the line protocol: the hand-off on standard error, "r" reports again,
# "q" ends it with 0.
set -u
source "$(dirname "$0")/lib.bash"
game=$1
passed=0
report="Tovrin Runtime Error : Memory access violation"
dir=$(make_game_folder); cd "$dir"

# The game's process id: the child of process $1 running it (script's shell
# execs the game).
child_of() {
  local child
  wait_until "child=\$(pgrep -P $1 | head -n1); [ -n \"\$child\" ]" 10 || return 1
  echo "$child"
}

# --- From a terminal -----------------------------------------------------------
# script gives the game a terminal; what script reads is typed there, and a
# pipe held open types nothing, as a person who walked away.
mkfifo keys
fresh_log
script -qfec "exec '$game'" terminal.txt <keys >/dev/null 2>&1 &
runner=$!
exec 4>keys
wid=$(wait_window "Tovrin Game") || fail "no window under a terminal"
wait_mark loaded || fail "the game did not load under a terminal"
gpid=$(child_of "$runner") || fail "no game process under script"
start=$(date +%s%N)
kill -SEGV "$gpid"
wait_exit "$runner" 5
took=$((($(date +%s%N) - start) / 1000000))
exec 4>&-
[ "$EXIT_STATUS" -eq 255 ] || fail "terminal: exit status $EXIT_STATUS, want 255 ($(cat terminal.txt))"
[ "$took" -lt 2000 ] || fail "terminal: the game took $took ms to end after the crash"
grep -q "^$report" terminal.txt || fail "terminal: no report in '$(cat terminal.txt)'"
grep -q "{{~~" terminal.txt && fail "terminal: the debugger stop was entered: $(cat terminal.txt)"
xdotool search --name "^Tovrin Game\$" >/dev/null 2>&1 && fail "terminal: the window is still there"
echo "ok: from a terminal the crash is reported and the game ends with 255 in $took ms"
passed=$((passed + 1))

# --- With a debugger on pipes ----------------------------------------------------
mkfifo commands
fresh_log
"$game" <commands >out.txt 2>err.txt &
pid=$!
exec 3>commands  # held open: the game must see no end of input until told
wid=$(wait_window "Tovrin Game") || fail "no window with a debugger"
wait_mark loaded || fail "the game did not load with a debugger"
kill -SEGV "$pid"
wait_until "grep -q '{{~~~~}}' err.txt" 5 || fail "pipes: no hand-off to the debugger: $(cat out.txt err.txt)"
kill -0 "$pid" 2>/dev/null || fail "pipes: the game ended before the debugger answered"
printf '?where\n@0\nr\n' >&3
wait_until "[ \$(grep -c '{{~~~~}}' err.txt) -ge 2 ]" 5 || fail "pipes: 'r' did not stop again: $(cat err.txt)"
printf 'q\n' >&3
wait_exit "$pid" 5
exec 3>&-
[ "$EXIT_STATUS" -eq 0 ] || fail "pipes: exit status $EXIT_STATUS after 'q', want 0"
[ "$(grep -c "^$report\$" out.txt)" -eq 2 ] || fail "pipes: want the report twice, got '$(cat out.txt)'"
echo "ok: with a debugger on pipes the stop keeps its protocol: reported, resumed, reported again, quit"
passed=$((passed + 1))

cd / && rm -rf "$dir"
echo "$passed passed, 0 failed"
