#!/usr/bin/env bash
# The game quits cleanly, again and again: twenty starts, each left running
# for about 1.5 s with the menu music playing, then ended with a quit (the
# menu's quit button, or SIGTERM, which SDL turns into a quit event). Every
# run must exit with status 0 and print no error.
set -u
bin="${ZARVO_BINARY_DIR:-build}/zarvo"
runs=${ZARVO_EXIT_RUNS:-20}
[ -x "$bin" ] || { echo "missing $bin"; exit 1; }
[ -n "${DISPLAY:-}" ] || { echo "needs an X display (run under xvfb-run)"; exit 1; }
[ -n "$(ls data/graphics 2>/dev/null)" ] || { echo "no pictures in $PWD/data/graphics"; exit 1; }
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
# Keep the GL driver loaded at exit so that leaks inside it stay attributable
# to it (and suppressed) instead of showing up as an unknown module.
export SDL12COMPAT_NO_QUIT_VIDEO=1

log=$(mktemp)
trap 'rm -f "$log"' EXIT
fail=0
for i in $(seq "$runs"); do
    if [ $((i % 2)) -eq 1 ]; then how=button; else how=TERM; fi
    "$bin" </dev/null >"$log" 2>&1 &
    game=$!
    sleep 1.5
    if ! kill -0 "$game" 2>/dev/null; then
        wait "$game"
        echo "run $i: the game ended by itself (status $?) before the quit:"
        cat "$log"
        fail=1
        continue
    fi
    if [ "$how" = button ]; then
        xdotool mousemove 600 400 sleep 0.2 mousemove 836 543 sleep 0.2 click 1
    else
        kill -TERM "$game"
    fi
    for _ in $(seq 100); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$game" 2>/dev/null; then
        echo "run $i: still running 10 s after the quit ($how); killing it"
        kill -KILL "$game"
        wait "$game"
        cat "$log"
        fail=1
        continue
    fi
    wait "$game"
    status=$?
    if [ "$status" -ne 0 ]; then
        echo "run $i: exit status $status after the quit ($how):"
        cat "$log"
        fail=1
    elif grep -q '^Error:' "$log"; then
        echo "run $i: reported an error:"
        cat "$log"
        fail=1
    elif ! grep -q '^Zarvo started' "$log"; then
        echo "run $i: no start-up line:"
        cat "$log"
        fail=1
    fi
done
[ $fail -eq 0 ] && echo "$runs clean exits"
exit $fail
