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

dir=$(make_game_folder); cd "$dir"
"$game" >out.txt 2>err.txt &
pid=$!
wid=$(wait_window "Tovrin Game") || fail "no window titled 'Tovrin Game'"
sleep 0.3
import -window "$wid" "$shot" || fail "no screenshot"
close_and_wait "$wid" "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS"

backdrop=$(pixel 5 5)
[ "$backdrop" = "40,40,80" ] || fail "backdrop $backdrop, want 40,40,80"
# The band is orange at 0.7 over the backdrop.
band=$(pixel 5 240)
[ "$band" = "187,124,66" ] || fail "band $band, want 187,124,66"
echo "ok: loading screen backdrop $backdrop and band $band"

# The logo is a picture: its square holds far more colours than the flat
# shapes and dots drawn around it could.
colours=$(convert "$shot" -crop 256x256+192+102 +repage -unique-colors -format '%w' info:)
[ "$colours" -gt 100 ] || fail "logo square has only $colours colours"
echo "ok: the logo is drawn ($colours colours in its square)"

cd / && rm -rf "$dir"
echo "2 passed, 0 failed"
