#!/usr/bin/env bash
# The web build played in headless Chromium (tests/web/play.mjs), then its
# pictures against the desktop build's in a real window on this display: the
# loading screen, and the menu from the same saved state, compared with
# ImageMagick. Everything is left in web_page/ for a human look.
set -u
source "$(dirname "$0")/lib.bash"
game=$(realpath "$1")
web=${VW_WEB_BUILD:-$REPO/build-web}
[ -f "$web/vaultwick.html" ] || fail "no web build in $web: run make web"
out="$PWD/web_page"
rm -rf "$out" && mkdir -p "$out"

passed=0 failed=0
ok() { echo "ok: $*"; passed=$((passed + 1)); }
bad() { echo "FAIL: $*"; failed=$((failed + 1)); }

node --experimental-websocket "$REPO/tests/web/play.mjs" "$web" "$out" | tee "$out/play.log"
summary=$(tail -n1 "$out/play.log")
[[ $summary =~ ([0-9]+)\ passed,\ ([0-9]+)\ failed,\ ([0-9]+)\ skipped ]] || fail "the browser run ended early"
passed=${BASH_REMATCH[1]} failed=${BASH_REMATCH[2]} skipped=${BASH_REMATCH[3]}

# Normalised RMSE of two pictures (0 same, 1 opposite), as ImageMagick reports it.
rmse() { compare -metric RMSE "$1" "$2" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p'; }
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }

# Colour of pixel x,y of picture $1 as "r,g,b".
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }

# Shoots window $1 into $2 until the shot shows the loading screen's backdrop
# (the window is black until its first frame); up to 10 seconds.
shoot_loading() {
  local _
  for _ in $(seq 100); do
    import -window "$1" "$2" && [ "$(pixel "$2" 5 5)" = "40,40,80" ] && return 0
    sleep 0.1
  done
  return 1
}

# Shoots window $1 into $2 once the menu waits for the player (loaded, slid
# in, nothing fading over it), as the web's shot is taken.
shoot_menu() {
  wait_mark menu-at-rest 1 20 || return 1
  import -window "$1" "$2"
}

# The desktop build's window, shot by function $2 into $1, in a folder
# holding state file $3 (none when empty).
desktop_shot() {
  local png=$1 shoot=$2 state=$3 dir pid wid status=0
  dir=$(make_game_folder)
  [ -n "$state" ] && cp "$state" "$dir/.tovrinstate"
  fresh_log
  (cd "$dir" && exec "$game" >out.txt 2>err.txt) &
  pid=$!
  wid=$(wait_window "Tovrin Game") || { kill "$pid"; rm -rf "$dir"; return 1; }
  "$shoot" "$wid" "$png" || status=1
  close_and_wait "$wid" "$pid"
  rm -rf "$dir"
  [ "$status" -eq 0 ] && [ -s "$png" ]
}

# The loading screen: the spinner's dots turn with every loading step, which
# the two shots need not share, so their ring is left out of the comparison.
ring() { convert "$1" -fill none -stroke black -strokewidth 30 -draw "circle 320,240 440,240" "$2"; }
if [ -s "$out/web_loading.png" ] && desktop_shot "$out/desktop_loading.png" shoot_loading ""; then
  ring "$out/web_loading.png" "$out/web_loading_ring.png"
  ring "$out/desktop_loading.png" "$out/desktop_loading_ring.png"
  d=$(rmse "$out/web_loading_ring.png" "$out/desktop_loading_ring.png")
  if below "$d" 0.02; then ok "the web loading screen matches the desktop's (RMSE $d)"; else bad "loading screens differ (RMSE $d)"; fi
else
  bad "no loading screen to compare"
fi

# The menu from the state the browser saved last, whole and its score lists
# alone. The menu animates (the coin, the flame, the stars), which no two
# shots catch at one moment, and the two rasterisers place the edges of scaled
# art differently: the pictures are compared at an eighth of their size.
lists() { convert "$1" -crop 130x360+505+40 +repage "$2"; }
small() { convert "$1" -scale 12.5% "$2"; }
if [ -s "$out/web_menu.png" ] && [ -s "$out/state.txt" ] && desktop_shot "$out/desktop_menu.png" shoot_menu "$out/state.txt"; then
  lists "$out/web_menu.png" "$out/web_lists.png"
  lists "$out/desktop_menu.png" "$out/desktop_lists.png"
  for f in web_menu desktop_menu web_lists desktop_lists; do small "$out/$f.png" "$out/${f}_small.png"; done
  d=$(rmse "$out/web_menu_small.png" "$out/desktop_menu_small.png")
  l=$(rmse "$out/web_lists_small.png" "$out/desktop_lists_small.png")
  if below "$d" 0.04 && below "$l" 0.04; then
    ok "the web menu matches the desktop's from the same saved state (RMSE $d, lists $l)"
  else
    bad "menus differ (RMSE $d, lists $l)"
  fi
else
  bad "no menu to compare"
fi

# The score filed by the round shows: in the lists' text (their colours
# alone), the last-ten list is the one before the round moved down one line
# of 15 pixels. Both pictures come from the web build, so they match exactly.
text() { convert "$1" -fx "(r > 0.55 && g > 0.55 && b < 0.6) ? 1 : 0" -colorspace gray "$2"; }
rows() { convert "$1" -crop "130x120+0+$2" +repage "$3"; }
if [ -s "$out/web_menu_seeded.png" ]; then
  lists "$out/web_menu_seeded.png" "$out/web_lists_before.png"
  text "$out/web_lists.png" "$out/web_text.png"
  text "$out/web_lists_before.png" "$out/web_text_before.png"
  rows "$out/web_text.png" 230 "$out/after_1_8.png"
  rows "$out/web_text.png" 215 "$out/after_0_7.png"
  rows "$out/web_text_before.png" 215 "$out/before_0_7.png"
  moved=$(rmse "$out/after_1_8.png" "$out/before_0_7.png")
  same=$(rmse "$out/after_0_7.png" "$out/before_0_7.png")
  if below "$moved" 0.01 && ! below "$same" 0.05; then
    ok "the filed score shows in the menu's lists: the last ten moved down one line (RMSE $moved moved, $same in place)"
  else
    bad "the lists do not show the filed score (RMSE $moved moved, $same in place)"
  fi
else
  bad "no menu from before the round (the browser's round failed)"
fi

echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ] || exit 1
[ "$skipped" -eq 0 ] || exit 77
