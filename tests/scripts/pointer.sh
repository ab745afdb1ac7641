#!/usr/bin/env bash
# The pointer as tablets, touch screens and remote desktops send it: absolute
# moves must land the game's own pointer picture on that very point; the game
# must start and quit cleanly.  The menu and the climb read the pointer through
# the same call, and what they do with the point (buttons lit from their very
# edge, the aim marker) is tried precisely by the unit tests.  With an argument, the folder of another SDL 1.2
# library to run the same binary on (the classic one, see scripts/setup.sh).
set -u
root=$(pwd)
bin="${ZARVO_BINARY_DIR:-build}/zarvo"
source "$root/scripts/xdrive.bash"
own_screen || exit 1
if [ -n "${1:-}" ]; then
    # Fetched once into the build folder, as the test command does.
    (source "$root/scripts/setup.sh" && zarvo_fetch_classic_sdl "$1") || exit 1
    export LD_LIBRARY_PATH="$1${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
fi
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
# Drivers unloaded at exit leave allocations with no module name to suppress.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
work=$(mktemp -d)
game=""
trap '[ -n "$game" ] && kill "$game" 2>/dev/null; own_screen_stop; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; cat "$work/game.log"; exit 1; }
pic() { echo "$root/data/graphics/$1"; }

start_game "$(pic menu.jpg)" "$work/game.log" "$root" "$bin" && ! game_ended || fail "no menu within 60 s"

# at PICTURE X Y: against the reference shot, the pixels around (X, Y) change
# just as they do when PICTURE is laid over the reference centred on (X, Y):
# the changed area starts at the same pixel and has the same size, give or
# take the faint edge of the picture's outline.
at() {
    local region="64x64+$(($2 - 32))+$(($3 - 32))" want got
    convert "$work/ref.png" "$1" -geometry "+$(($2 - 16))+$(($3 - 16))" -composite "$work/want.png"
    shot "$work/now.png"
    IFS='x+' read -r -a want <<<"$(changed_box "$work/ref.png" "$work/want.png" "$region")"
    IFS='x+' read -r -a got <<<"$(changed_box "$work/ref.png" "$work/now.png" "$region")"
    [ "${got[0]}" -gt 0 ] && [ "${got[2]}" -eq "${want[2]}" ] && [ "${got[3]}" -eq "${want[3]}" ] &&
        [ $((got[0] - want[0])) -ge -2 ] && [ $((got[0] - want[0])) -le 2 ] &&
        [ $((got[1] - want[1])) -ge -2 ] && [ $((got[1] - want[1])) -le 2 ]
}

# The menu's pointer picture is centred on the pointer.
convert "$(pic menu.jpg)" "$work/ref.png"   # the menu without any pointer
for p in "200 600" "500 120" "33 700" "990 33"; do
    read -r x y <<<"$p"
    pointer_to "$x" "$y"
    wait_until 10 at "$(pic cursor.png)" "$x" "$y" || fail "the pointer picture is not centred on ($x, $y)"
done
echo "the pointer picture follows absolute moves to the pixel"

# The quit button, where the pointer now lands.
pointer_to 836 543
xdotool click 1
wait_until 30 game_ended || fail "the game still runs 30 s after the quit button"
wait "$game"
status=$?
game=""
[ $status -eq 0 ] || fail "exit status $status"
grep -q '^Error:' "$work/game.log" && fail "the game reported an error"
echo "pointer test passed"
