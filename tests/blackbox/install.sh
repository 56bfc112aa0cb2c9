#!/usr/bin/env bash
# The installed game: `cmake --install` into a scratch prefix and under a
# DESTDIR, the desktop files validated, and the launcher run in a real window
# with the player's folder under XDG_DATA_HOME while the working folder is
# elsewhere: the state file lands in the player's folder, not in the install
# tree, and the next run loads it. Then the launcher's fallbacks and failures.
set -u
source "$(dirname "$0")/lib.bash"
game=$1
build=$(dirname "$game")
app_id=io.github.vaultwick.Vaultwick
passed=0

tmp=$(mktemp -d /tmp/vw-install-XXXXXX)
# No EXIT trap: the helpers' background subshells would run it too.
fail() {
  echo "FAIL: $*"
  cd / && rm -rf "$tmp"
  exit 1
}
prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install into $prefix"
DESTDIR=$tmp/stage cmake --install "$build" --prefix /opt/vaultwick >/dev/null || fail "install under DESTDIR"
staged=$tmp/stage/opt/vaultwick

# --- The installed tree --------------------------------------------------------
for tree in "$prefix" "$staged"; do
  [ -x "$tree/bin/vaultwick" ] || fail "no launcher in $tree/bin"
  [ -x "$tree/libexec/vaultwick/vaultwick" ] || fail "no game program in $tree/libexec/vaultwick"
  [ -f "$tree/share/vaultwick/data/velk_font.png" ] || fail "no data in $tree/share/vaultwick"
done
for size in 16 24 32 48 64 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png
  [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x${size}" ] || fail "icon $icon is not ${size}x${size}"
done
echo "ok: the program, launcher, data and hicolor icons are installed, under a prefix and under DESTDIR"
passed=$((passed + 1))

entry=$prefix/share/applications/$app_id.desktop
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
desktop-file-validate "$entry" || fail "desktop entry does not validate"
appstreamcli validate --no-net "$metainfo" >"$tmp/appstream.txt" 2>&1 || fail "metainfo: $(cat "$tmp/appstream.txt")"
grep -qx "Categories=Game;ArcadeGame;" "$entry" || fail "desktop entry categories"
grep -qx "Icon=$app_id" "$entry" || fail "desktop entry icon"
grep -qx "Exec=vaultwick" "$entry" || fail "desktop entry command"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" || fail "metainfo launchable"
for tag in description screenshot release; do
  grep -q "<$tag[ >]" "$metainfo" || fail "metainfo has no $tag"
done
echo "ok: the desktop entry and the metainfo validate"
passed=$((passed + 1))

# --- A first and a second run through the launcher ---------------------------------
xdg=$tmp/xdg
folder=$xdg/vaultwick
elsewhere=$tmp/elsewhere
mkdir -p "$elsewhere"
cd "$elsewhere"

fresh_log
XDG_DATA_HOME=$xdg "$prefix/bin/vaultwick" >"$tmp/out1.txt" 2>"$tmp/err1.txt" &
pid=$!
wid=$(wait_window "Tovrin Game") || fail "no window from the launcher: $(cat "$tmp/err1.txt")"
# Until the game sets its icons (once its data paths are up), the window
# manager shows a default icon of its own, of 48 x 48.
window_icons() { xprop -id "$wid" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | tr '\n' ' '; }
want_icons="Icon (16 x 16) Icon (32 x 32) Icon (48 x 48) Icon (64 x 64) Icon (128 x 128) "
wait_until '[ "$(window_icons)" = "$want_icons" ]' 10 || fail "window icon: '$(window_icons)'"
icons=$(window_icons)
echo "ok: the window carries the game's icon ($icons)"
passed=$((passed + 1))
[ "$(readlink -f "$folder/data")" = "$(readlink -f "$prefix/share/vaultwick/data")" ] ||
  fail "the player's folder has no link to the installed data"
wait_mark loaded || fail "loading did not end"
xdotool windowminimize "$wid" || fail "could not iconify the window"
wait_mark state-saved 1 5 || fail "no save when iconified"
[ -s "$folder/.tovrinstate" ] || fail "no state file in $folder after iconifying"
close_and_wait "$wid" "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "first run: exit status $EXIT_STATUS"
found=$(find "$prefix" "$elsewhere" -name .tovrinstate)
[ -z "$found" ] || fail "state file written outside the player's folder: $found"
state=$(cat "$folder/.tovrinstate")
echo "ok: the state file is in $folder, not in the install tree or the working folder"
passed=$((passed + 1))

fresh_log
XDG_DATA_HOME=$xdg "$prefix/bin/vaultwick" >"$tmp/out2.txt" 2>"$tmp/err2.txt" &
pid=$!
wid=$(wait_window "Tovrin Game") || fail "no window on the second run: $(cat "$tmp/err2.txt")"
wait_mark loaded || fail "loading did not end on the second run"
close_and_wait "$wid" "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "second run: exit status $EXIT_STATUS"
grep -qx "Settings Loaded" "$tmp/out2.txt" || fail "second run printed: $(cat "$tmp/out2.txt")"
[ "$(cat "$folder/.tovrinstate")" = "$state" ] || fail "the state file changed on the second run"
echo "ok: the second run loads the state file it finds there"
passed=$((passed + 1))

# --- Fallbacks and failures, without a display: the game itself cannot start ----
home=$tmp/home
mkdir -p "$home/.local/share/vaultwick"
echo "kept" >"$home/.local/share/vaultwick/.tovrinstate"
for xdg_value in unset "" "relative/folder"; do
  if [ "$xdg_value" = unset ]; then
    out=$(env -u DISPLAY -u XDG_DATA_HOME HOME="$home" "$staged/bin/vaultwick" 2>&1); status=$?
  else
    out=$(env -u DISPLAY XDG_DATA_HOME="$xdg_value" HOME="$home" "$staged/bin/vaultwick" 2>&1); status=$?
  fi
  [ "$status" -eq 255 ] && [ "$out" = "glfwInit failed" ] || fail "XDG_DATA_HOME $xdg_value: status $status, '$out'"
  [ "$(readlink -f "$home/.local/share/vaultwick/data")" = "$(readlink -f "$staged/share/vaultwick/data")" ] ||
    fail "XDG_DATA_HOME $xdg_value: no link to the staged data"
done
[ "$(cat "$home/.local/share/vaultwick/.tovrinstate")" = "kept" ] || fail "an existing state file was touched"
echo "ok: without a usable XDG_DATA_HOME the folder is under HOME; an existing state file is kept"
passed=$((passed + 1))

: >"$tmp/a-file"
out=$(env -u DISPLAY XDG_DATA_HOME="$tmp/a-file" "$prefix/bin/vaultwick" 2>&1 >/dev/null); status=$?
[ "$status" -eq 1 ] || fail "folder in a file: status $status"
echo "$out" | grep -q "cannot create the folder $tmp/a-file/vaultwick" || fail "folder in a file: said '$out'"
mkdir -p "$tmp/blocked/vaultwick/data"
out=$(env -u DISPLAY XDG_DATA_HOME="$tmp/blocked" "$prefix/bin/vaultwick" 2>&1 >/dev/null); status=$?
[ "$status" -eq 1 ] && [ -d "$tmp/blocked/vaultwick/data" ] && [ ! -L "$tmp/blocked/vaultwick/data" ] ||
  fail "a folder named data in the way: status $status"
echo "$out" | grep -q "in the way" || fail "a folder named data in the way: said '$out'"
echo "ok: a folder that cannot be made, or a data folder in the way, is reported and nothing runs"
passed=$((passed + 1))

cd / && rm -rf "$tmp"
echo "$passed passed, 0 failed"
