#!/usr/bin/env bash
# The game ends as it should, on a screen of its own:
# - started again and again and quit as a player does, alternately through the
#   menu's quit button and by SIGTERM (a desktop logging out), it exits with
#   status 0 and no error, its start-up line already in its log while it runs;
# - with any one picture or sound missing it prints the one error line naming
#   it and exits with status 0, without waiting on a terminal.  Pictures first
#   needed during play (some bricks and ornaments, the witch, two captions)
#   must not stop the start-up: without those the game starts and quits cleanly.
set -u
root=$(pwd)
bin=$(realpath "${ZARVO_BINARY_DIR:-build}/zarvo")
runs=${ZARVO_EXIT_RUNS:-10}
source "$root/scripts/xdrive.bash"
own_screen || exit 1
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
# The game's own memory is checked by the unit tests and the soak; a driver
# unloaded at exit leaves allocations with no module name to suppress.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
work=$(mktemp -d)
trap 'own_screen_stop; rm -rf "$work"' EXIT
failures=0
problem() { echo "$1"; cat "$work/out"; failures=$((failures + 1)); }

# run_and_quit DIR HOW: starts the game in DIR, waits for the menu, quits it by
# HOW (button or TERM); prints why it failed, if it did.
run_and_quit() {
    start_game "$root/data/graphics/menu.jpg" "$work/out" "$1" "$bin" || { echo "no menu within 60 s, twice"; return; }
    game_ended && { wait $game; echo "ended at start-up (status $?)"; return; }
    grep -qx 'Zarvo started \.\.\.' "$work/out" || echo "no start-up line while it runs"
    if [ "$2" = button ]; then pointer_to 836 543; xdotool click 1; else kill -TERM $game; fi
    wait_until 30 game_ended || { kill -KILL $game; wait $game; echo "still running 30 s after the quit"; return; }
    wait $game
    local status=$?
    [ $status -eq 0 ] || { echo "exit status $status"; return; }
    grep -q '^Error:' "$work/out" && echo "an error line"
}

for i in $(seq "$runs"); do
    how=$([ $((i % 2)) -eq 1 ] && echo button || echo TERM)
    why=$(run_and_quit "$root" $how)
    [ -z "$why" ] || problem "quit $i ($how): $why"
done
echo "$runs quits checked"

# Loaded only once a game is under way; the floor brick of the first round
# wears one ornament picked at random, so each ornament is either reported at
# start-up or first needed in play.
play_time=" brick1.png brick3.png brick4.png witch.png pause.png highscore.png "
ornaments=" flow1.png flow2.png pill1.png pill2.png mus1.png mus2.png mus3.png mus4.png "
# The information box of a touch screen: only the browser's page shows it.
play_time+="gameinfo_touch.png "
files=$(ls data/graphics/* data/sound/*)
for missing in $files; do
    tree="$work/tree"
    rm -rf "$tree"
    mkdir -p "$tree/data/graphics" "$tree/data/sound"
    for f in $files; do [ "$f" = "$missing" ] || ln -s "$root/$f" "$tree/$f"; done
    name=$(basename "$missing") folder=$(basename "$(dirname "$missing")")
    want="Error:File data\\$folder\\$name not found!"
    if [[ "$play_time$ornaments" == *" $name "* ]]; then
        why=$(run_and_quit "$tree" TERM)
        [[ "$ornaments" == *" $name "* && "$why" == "ended at start-up (status 0)" ]] && grep -qxF "$want" "$work/out" && why=""
        [ -z "$why" ] || problem "without $missing (needed only in play): $why"
        continue
    fi
    (cd "$tree" && exec timeout -k 5 60 "$bin" </dev/null >"$work/out" 2>&1)
    status=$?
    if [ $status -ne 0 ]; then
        problem "without $missing: exit status $status"
    elif [ "$(grep -c '^Error:' "$work/out")" -ne 1 ] || ! grep -qxF "$want" "$work/out"; then
        problem "without $missing: not the one line '$want'"
    fi
done
echo "$(echo "$files" | wc -w) missing files checked"
[ $failures -eq 0 ]
