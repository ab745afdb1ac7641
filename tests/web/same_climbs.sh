#!/usr/bin/env bash
# The browser's build climbs exactly as the desktop's: zarvo-autoplay prints
# the same lines under node as natively, run by run and level by level, at 10,
# 60 and 144 frames a second. Says it skipped (exit 77) without build-web/.
# Usage: same_climbs.sh DESKTOP-AUTOPLAY BUILD-WEB
desktop=$1 web=$2/zarvo-autoplay.js
[ -f "$web" ] || { echo "skipped: no $web (scripts/web --build makes it)"; exit 77; }
status=0
for fps in 10 60 144; do
    here=$("$desktop" --runs 20 --levels 15 --fps "$fps" --verbose)
    there=$(node "$web" --runs 20 --levels 15 --fps "$fps" --verbose 2> >(grep -v "GL emulation" >&2))
    if [ "$here" = "$there" ]; then
        echo "$fps fps: the same $(wc -l <<<"$here") lines; $(tail -1 <<<"$here")"
    else
        echo "$fps fps: the browser's build climbs otherwise:"
        diff <(echo "$here") <(echo "$there") | head -5
        status=1
    fi
done
exit $status
