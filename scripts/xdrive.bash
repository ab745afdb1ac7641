# Helpers for driving the real game on an X display the way a person does:
# pointer moves, clicks and key presses go through XTEST (xdotool without
# --window), screenshots are taken from the root window.  Sourced by the
# script tests, the soak runs and tools/screenshots.

# own_screen [WxH]: starts a virtual screen of our own (1024 x 768 unless
# given), so that no other program's window or pointer gets in the way, and
# makes it DISPLAY; it ends with the calling shell (see own_screen_stop).
own_screen() {
    local fd_file
    fd_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
    xdrive_xvfb=$!
    wait_until 30 test -s "$fd_file" || { echo "could not start Xvfb"; return 1; }
    export DISPLAY=":$(cat "$fd_file")"
    rm -f "$fd_file"
    wait_until 30 xdotool getdisplaygeometry >/dev/null 2>&1 || { echo "Xvfb does not answer"; return 1; }
}
own_screen_stop() {
    [ -n "${xdrive_xvfb:-}" ] && kill "$xdrive_xvfb" 2>/dev/null && wait "$xdrive_xvfb" 2>/dev/null
    xdrive_xvfb=""
}

# shot FILE: the whole screen as a PNG.
shot() {
    xwd -root -silent | convert xwd:- "$1"
}

# region_diff A B WxH+X+Y: how many pixels of the region differ by more than
# a few percent between two screenshots.
region_diff() {
    local a b n
    a=$(mktemp --suffix=.png) b=$(mktemp --suffix=.png)
    convert "$1" -crop "$3" +repage "$a"
    convert "$2" -crop "$3" +repage "$b"
    n=$(compare -metric AE -fuzz 8% "$a" "$b" null: 2>&1 | cut -d' ' -f1)
    rm -f "$a" "$b"
    printf '%.0f\n' "$n"
}

# shows SHOT PICTURE CX CY [WxH+X+Y]: whether the screen shows PICTURE drawn
# at its own size centred on (CX, CY).  Only a part of the picture is compared:
# the given region of it, by default the middle band of its upper half (where
# the boxes have their captions), clear of what the game writes over them.
shows() {
    local shot=$1 pic=$2 cx=$3 cy=$4 part=${5:-} w h x0 y0 bw bh bx by a b rmse
    read -r w h < <(identify -format '%w %h\n' "$pic")
    x0=$((cx - w / 2)) y0=$((cy - h / 2))
    if [ -n "$part" ]; then
        IFS='x+' read -r bw bh bx by <<<"$part"
    else
        bw=$((w * 3 / 4)) bh=$((h / 3)) bx=$((w / 8)) by=$((h / 12))
    fi
    a=$(mktemp --suffix=.png) b=$(mktemp --suffix=.png)
    convert "$shot" -crop "${bw}x${bh}+$((x0 + bx))+$((y0 + by))" +repage "$a"
    convert "$pic" -crop "${bw}x${bh}+${bx}+${by}" +repage -background black -alpha remove -alpha off "$b"
    rmse=$(compare -metric RMSE "$a" "$b" null: 2>&1 | sed -n 's/.*(\([0-9.e-]*\)).*/\1/p')
    rm -f "$a" "$b"
    [ -n "${ZARVO_XDRIVE_DEBUG:-}" ] && echo "shows $(basename "$pic"): rmse $rmse" >&2
    awk -v r="${rmse:-1}" 'BEGIN { exit !(r < 0.12) }'
}

# changed_box A B WxH+X+Y: the bounding box "WxH+X+Y" (within the region) of
# the pixels that differ between two screenshots; "0x0+..." when none do.
changed_box() {
    convert \( "$1" -crop "$3" +repage \) \( "$2" -crop "$3" +repage \) \
        -compose difference -composite -colorspace gray -threshold 25% -format '%@' info: 2>/dev/null
}

# screen_shows PICTURE CX CY [PART]: a fresh screenshot shows the picture.
screen_shows() {
    local f
    f=$(mktemp --suffix=.png)
    shot "$f"
    shows "$f" "$@"
    local ok=$?
    rm -f "$f"
    return $ok
}

# hover_at X Y: moves the pointer to (X, Y) of the game's screen and waits
# until the game has drawn its pointer picture there: clicks are taken where
# the game last saw the pointer.  The pointer must come from elsewhere.
hover_at() {
    local before now region
    before=$(mktemp --suffix=.png) now=$(mktemp --suffix=.png)
    region="32x32+$(($1 - 16))+$(($2 - 16))"
    shot "$before"
    pointer_to "$1" "$2"
    drawn_there() { shot "$now"; [ "$(region_diff "$before" "$now" "$region")" -gt 20 ]; }
    wait_until 10 drawn_there
    local ok=$?
    rm -f "$before" "$now"
    return $ok
}
# click_at X Y: hover_at, then a left click.
click_at() {
    hover_at "$@"
    local ok=$?
    xdotool click 1
    return $ok
}

# wait_until SECONDS COMMAND...: runs COMMAND every 0.2 s until it succeeds,
# for at most SECONDS of wall time.
wait_until() {
    local end=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -ge $end ] && return 1
        sleep 0.2
    done
}

# start_game MENU LOG DIR COMMAND...: starts the game in DIR (stdin closed,
# output in LOG), leaves its pid in $game and waits up to 60 s for the picture
# MENU to fill the screen or for the game to end.  Now and then a busy X server
# refuses a new connection (docs/reliability.md, "Hunting the rare crash"): the game then says
# "Error:No display" and ends, is dropped by the server as it starts (killed
# by SIGPIPE, status 141), or, when SDL still starts a video driver that draws
# into memory, shows nothing.  Such a start is tried once more; its output is
# kept as LOG.refused.  The shell keeps an ended game's status for the
# caller's own wait.
start_game() {
    local menu=$1 log=$2 dir=$3 try
    shift 3
    for try in 1 2; do
        (cd "$dir" && exec "$@") </dev/null >"$log" 2>&1 &
        game=$!
        if wait_until 60 xdrive_menu_or_end "$menu"; then
            game_ended || return 0
            wait "$game"
            [ $? -ne 141 ] && ! grep -q '^Error:No display' "$log" && return 0
        else
            kill -KILL "$game"
            wait "$game"
        fi
        cp "$log" "$log.refused"
        echo "the game did not reach the X server; starting it once more" >&2
    done
    return 1
}
xdrive_menu_or_end() { game_ended || screen_shows "$1" 512 384; }

# game_ended: whether the game whose pid is in $game has ended.
game_ended() { ! kill -0 "$game" 2>/dev/null; }

# pointer_to X Y: the pointer to (X, Y) of the game's 1024 x 768 screen, in
# one absolute move as a tablet or a remote desktop sends it.  On a larger
# desktop (XDRIVE_SCREEN=WxH) the full-screen game is scaled to the screen's
# height and centred between black bars, and the point is mapped likewise.
pointer_to() {
    local x=$1 y=$2 sw sh gw
    if [ -n "${XDRIVE_SCREEN:-}" ]; then
        IFS=x read -r sw sh <<<"$XDRIVE_SCREEN"
        gw=$((sh * 4 / 3))
        x=$(((sw - gw) / 2 + x * gw / 1024)) y=$((y * sh / 768))
    fi
    xdotool mousemove "$x" "$y"
}
