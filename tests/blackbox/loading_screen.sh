#!/usr/bin/env bash
# The loading screen in a real window: the blue-grey backdrop, the orange band
# and the logo over it, from the first frames of a start in a folder with the
# game's data. The screenshot is left as loading_screen.png for a human look.
set -u
source "$(dirname "$0")/lib.bash"
game=$1
shot="$PWD/loading_screen.png"

# Colour of pixel x,y of the screenshot as "r,g,b".
pixel() { convert "$shot" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:; }

# The logo is a picture: its square holds far more colours than the flat
# shapes and dots drawn around it could.
logo_colours() { convert "$shot" -crop 256x256+192+102 +repage -unique-colors -format '%w' info:; }

# A shot of the loading screen with its logo up, taken before loading ends
# (the window is black until its first frame, and the logo is among the
# first files loaded).
loading_screen_shown() {
  local loaded_before
  loaded_before=$(mark_count loaded)
  import -window "$wid" "$shot" || return 1
  [ "$loaded_before" -eq 0 ] || fail "loading ended before a shot showed the loading screen and its logo"
  [ "$(pixel 5 5)" = "40,40,80" ] && [ "$(logo_colours)" -gt 100 ]
}

dir=$(make_game_folder); cd "$dir"
fresh_log
"$game" >out.txt 2>err.txt &
pid=$!
wid=$(wait_window "Tovrin Game") || fail "no window titled 'Tovrin Game'"
wait_until loading_screen_shown 10 || fail "no loading screen: backdrop $(pixel 5 5), $(logo_colours) colours in the logo's square"
close_and_wait "$wid" "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS"

backdrop=$(pixel 5 5)
[ "$backdrop" = "40,40,80" ] || fail "backdrop $backdrop, want 40,40,80"
# The band is orange at 0.7 over the backdrop.
band=$(pixel 5 240)
[ "$band" = "187,124,66" ] || fail "band $band, want 187,124,66"
echo "ok: loading screen backdrop $backdrop and band $band"
echo "ok: the logo is drawn ($(logo_colours) colours in its square)"

cd / && rm -rf "$dir"
echo "2 passed, 0 failed"
