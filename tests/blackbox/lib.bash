# Helpers for driving the built game in a real window (sourced by the scripts).
# The display, window manager and OpenAL driver come from with-display.sh.

fail() { echo "FAIL: $*"; exit 1; }

# Waits up to $2 seconds (default 10) for a window titled $1 that the window
# manager has taken on (it has set the frame extents); prints its id. Requests
# such as a close are only honoured for windows the manager has taken on.
wait_window() {
  local title=$1 limit=${2:-10} wid
  for _ in $(seq $((limit * 10))); do
    wid=$(xdotool search --name "^${title}\$" 2>/dev/null | head -n1)
    if [ -n "$wid" ] && xprop -id "$wid" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '='; then
      echo "$wid"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Waits up to $2 seconds (default 10) for process $1, a child of this shell, to
# end; sets EXIT_STATUS (137 when it had to be killed).
wait_exit() {
  local pid=$1 limit=${2:-10}
  ( sleep "$limit"; kill -9 "$pid" 2>/dev/null ) &
  local watchdog=$!
  wait "$pid"
  EXIT_STATUS=$?
  kill "$watchdog" 2>/dev/null
  wait "$watchdog" 2>/dev/null
}

# Asks the window manager to close window $1 of process $2 and waits for the
# process to end (EXIT_STATUS). A window manager still busy taking the window
# on may drop the first request, so it is repeated, as a user would click again.
close_and_wait() {
  local wid=$1 pid=$2
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    wmctrl -i -c "$wid" 2>/dev/null
    for _ in $(seq 20); do
      kill -0 "$pid" 2>/dev/null || break 2
      sleep 0.1
    done
  done
  wait_exit "$pid" 5
}

# The game's timing log, where it writes marks as things happen (the end of
# loading, the screen changing, the pause panel, a round ending, each save:
# framework/app/timing_log.h, entry/game_marks.h). The scripts start the game
# with VW_TIMING_LOG set to it and wait on its marks, never on the clock. One
# log per script, left in the build folder for a look after a failure.
export VW_TIMING_LOG="$PWD/timing-$(basename "$0" .sh).log"

# Empties the log before a start, so that no mark of an earlier run counts.
fresh_log() { : >"$VW_TIMING_LOG"; }

# Number of marks $1 in the timing log.
mark_count() {
  local n
  n=$(grep -c "^mark $1 " "$VW_TIMING_LOG" 2>/dev/null)
  echo "${n:-0}"
}

# Waits up to $2 whole seconds (default 10) for command $1 to succeed; it is
# tried again every tenth of a second, and once more at the deadline.
wait_until() {
  local test=$1 limit=${2:-10} end
  end=$(($(date +%s%N) + limit * 1000000000))
  while :; do
    eval "$test" && return 0
    [ "$(date +%s%N)" -lt "$end" ] || return 1
    sleep 0.1
  done
}

# Waits up to $3 seconds (default 10) for the timing log to hold at least $2
# (default 1) marks $1.
wait_mark() { wait_until "[ \$(mark_count $1) -ge ${2:-1} ]" "${3:-10}"; }

# Waits for one more mark $1 than the $2 there were before (up to $3 seconds).
wait_next_mark() { wait_mark "$1" $(($2 + 1)) "${3:-10}"; }

# Geometry WxH+X+Y of window $1.
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h "+" x "+" y}'
}

# Waits up to 5 seconds for window $1 to have geometry $2.
wait_geometry() {
  wait_until "[ \"\$(geometry $1)\" = $2 ]" 5 || { echo "geometry $(geometry "$1"), want $2"; return 1; }
}

# Holds key $2 for $3 seconds (xdotool's names), sent to window $1 if it is
# not empty, else to the focused window. One xdotool run times the hold:
# starting a second one for the release could take longer than the hold on
# a busy machine, and the game would see a key held far longer than meant.
hold_key() {
  local to=()
  [ -n "$1" ] && to=(--window "$1")
  xdotool keydown "${to[@]}" "$2" sleep "$3" keyup "${to[@]}" "$2"
}

# A scratch folder that holds the game's data like the repository root does.
make_game_folder() {
  local dir
  dir=$(mktemp -d /tmp/vw-game-XXXXXX)
  [ -d "$REPO/data" ] && ln -s "$REPO/data" "$dir/data"
  echo "$dir"
}

REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
