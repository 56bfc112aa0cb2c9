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

# A scratch folder that holds the game's data like the repository root does.
make_game_folder() {
  local dir
  dir=$(mktemp -d /tmp/vw-game-XXXXXX)
  [ -d "$REPO/data" ] && ln -s "$REPO/data" "$dir/data"
  echo "$dir"
}

REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
