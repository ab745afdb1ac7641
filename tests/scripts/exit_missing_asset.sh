#!/usr/bin/env bash
# Each picture and sound, missing in turn, ends the game with the one error
# line and status 0. The game runs in a copy of the tree made of symlinks with
# that one file left out, with no terminal on stdin so it does not wait.
# Pictures first needed during play (the other bricks, the witch, the pause
# and high-score captions) do not stop the start-up: for those the game must
# come up, run and quit cleanly instead.
set -u
bin="${ZARVO_BINARY_DIR:-build}/zarvo"
[ -x "$bin" ] || { echo "missing $bin"; exit 1; }
bin=$(cd "$(dirname "$bin")" && pwd)/$(basename "$bin")
[ -n "${DISPLAY:-}" ] || { echo "needs an X display (run under xvfb-run)"; exit 1; }
root=$PWD
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
export SDL12COMPAT_NO_QUIT_VIDEO=1  # see exit_clean.sh
if [ -z "${LSAN_OPTIONS:-}" ] && [ -f "$root/tests/lsan.supp" ]; then
    export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp"
fi

# Loaded only once a game is under way.
play_time=" brick1.png brick3.png brick4.png witch.png pause.png highscore.png "
# Ornaments: the floor brick made at start-up wears one picked at random, so
# each of these is either reported at start-up or first needed in play.
ornaments=" flow1.png flow2.png pill1.png pill2.png mus1.png mus2.png mus3.png mus4.png "

files=$(cd "$root" && ls data/graphics/* data/sound/* 2>/dev/null)
[ -n "$files" ] || { echo "no assets under $root/data"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
checked=0
for missing in $files; do
    tree="$work/tree"
    rm -rf "$tree"
    mkdir -p "$tree/data/graphics" "$tree/data/sound"
    for f in $files; do
        [ "$f" = "$missing" ] || ln -s "$root/$f" "$tree/$f"
    done
    name=$(basename "$missing")
    folder=$(basename "$(dirname "$missing")")
    want="Error:File data\\$folder\\$name not found!"
    out="$work/out"
    # quit_check: the game must be up after 1.5 s and quit cleanly on SIGTERM.
    if [ "$folder" = graphics ] && [[ "$play_time$ornaments" == *" $name "* ]]; then
        (cd "$tree" && exec "$bin" </dev/null >"$out" 2>&1) &
        game=$!
        sleep 1.5
        if ! kill -0 "$game" 2>/dev/null; then
            wait "$game"
            status=$?
            if [[ "$ornaments" == *" $name "* ]] && [ $status -eq 0 ] && grep -qxF "$want" "$out"; then
                checked=$((checked + 1))  # the floor brick happened to pick this ornament
                continue
            fi
            echo "without $missing the game ended at start-up (status $status):"
            cat "$out"
            fail=1
            continue
        fi
        kill -TERM "$game"
        for _ in $(seq 100); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
        kill -0 "$game" 2>/dev/null && { kill -KILL "$game"; echo "without $missing: no exit after SIGTERM"; }
        wait "$game"
        status=$?
        if [ $status -ne 0 ] || grep -q '^Error:' "$out"; then
            echo "without $missing (needed only in play): status $status"
            cat "$out"
            fail=1
        fi
        checked=$((checked + 1))
        continue
    fi
    (cd "$tree" && exec timeout -k 2 10 "$bin" </dev/null >"$out" 2>&1)
    status=$?
    if [ $status -eq 124 ] || [ $status -eq 137 ]; then
        echo "without $missing the game was still running after 10 s"
        fail=1
    elif [ $status -ne 0 ]; then
        echo "without $missing: exit status $status"
        cat "$out"
        fail=1
    elif ! grep -qxF "$want" "$out"; then
        echo "without $missing: no line '$want' in:"
        cat "$out"
        fail=1
    elif [ "$(grep -c '^Error:' "$out")" -ne 1 ]; then
        echo "without $missing: more than one error line:"
        cat "$out"
        fail=1
    fi
    checked=$((checked + 1))
done
[ $fail -eq 0 ] && echo "$checked missing-file runs checked"
exit $fail
