#!/usr/bin/env bash
# The browser's build climbs exactly as the desktop's: zarvo-autoplay prints
# the same lines under node as natively, run by run and level by level, at 10,
# 60 and 144 frames a second, and each build plays the other's recorded
# climbs again to their scores. Says it skipped (exit 77) without build-web/.
# Usage: same_climbs.sh DESKTOP-BUILD BUILD-WEB
desktop=$1 web=$2
[ -f "$web/zarvo-autoplay.js" ] || { echo "skipped: no $web/zarvo-autoplay.js (scripts/web --build makes it)"; exit 77; }
node_run() { node "$web/$1" "${@:2}" 2> >(grep -v "GL emulation" >&2); }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for fps in 10 60 144; do
    mkdir -p "$work/$fps/desktop" "$work/$fps/web"
    here=$("$desktop/zarvo-autoplay" --runs 20 --levels 15 --fps "$fps" --verbose --record "$work/$fps/desktop")
    there=$(node_run zarvo-autoplay.js --runs 20 --levels 15 --fps "$fps" --verbose --record "$work/$fps/web")
    if [ "$here" = "$there" ]; then
        echo "$fps fps: the same $(wc -l <<<"$here") lines; $(tail -1 <<<"$here")"
    else
        echo "$fps fps: the browser's build climbs otherwise:"
        diff <(echo "$here") <(echo "$there") | head -5
        status=1
    fi
    # Two climbs each way: recorded by one build, played again by the other.
    for climb in $(ls "$work/$fps/desktop" | head -2); do
        node_run zarvo-replay.js "$work/$fps/desktop/$climb" || { echo "the browser's build fails a desktop climb"; status=1; }
    done
    for climb in $(ls "$work/$fps/web" | head -2); do
        "$desktop/zarvo-replay" "$work/$fps/web/$climb" || { echo "the desktop fails a climb of the browser's build"; status=1; }
    done
done
exit $status
