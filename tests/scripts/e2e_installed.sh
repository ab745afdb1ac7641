#!/usr/bin/env bash
# End to end, as a player meets an installed copy, on a screen of its own:
# install the game, start it through its desktop entry's Exec line from an
# unrelated folder, and play it with the real pointer and keyboard: the
# high-score screen, the intro, a game that scores and falls, the name entry,
# the retry box, the credits, quit.  score.txt in the player's own folder must
# then hold the table it started with plus the new line in its place.  Screens
# of the steps are kept in $ZARVO_BINARY_DIR/e2e/ (tools/screenshots takes the
# README's pictures from there).
#   e2e_installed.sh            cmake --install of the build into a fresh
#                               prefix, with a prepared score.txt
#   e2e_installed.sh PKG.deb    apt-get install of the Debian package, a fresh
#                               HOME and no score.txt; nothing under /usr may
#                               change while playing, and removing the package
#                               must leave nothing of it behind (root only)
set -u
root=$(pwd)
build=$(realpath "${ZARVO_BINARY_DIR:-build}")
deb=${1:+$(realpath "$1")}
if [ -n "$deb" ] && [ "$(id -u)" -ne 0 ]; then
    echo "SKIPPED: installing the package needs root"
    exit 0
fi
source "$root/scripts/xdrive.bash"
own_screen || exit 1
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
# Drivers unloaded at exit leave allocations with no module name to suppress.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
shots="$build/e2e" work=$(mktemp -d) game=""
rm -rf "$shots" && mkdir -p "$shots"
cleanup() {
    [ -n "$game" ] && kill $game 2>/dev/null
    own_screen_stop
    [ -n "$deb" ] && dpkg -s zarvo >/dev/null 2>&1 && apt-get purge -y -qq zarvo >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT
step() { echo "== $*"; }
snap() { shot "$shots/$1.png"; }
fail() { echo "FAIL: $*"; shot "$shots/failure.png"; tail -n 20 "$work/game.log"; exit 1; }
pic() { echo "$data/graphics/$1"; }
on_screen() { screen_shows "$(pic "$1")" "${@:2}"; }
gone() { ! on_screen "$@"; }

step "install"
mkdir -p "$work/elsewhere"
if [ -z "$deb" ]; then
    prefix="$work/prefix"
    cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "cmake --install"; }
    launcher_dir="$prefix/bin" data="$prefix/share/zarvo/data"
    export XDG_DATA_HOME="$work/xdg"
    home="$XDG_DATA_HOME/zarvo"
    mkdir -p "$home"
    printf '%s\n' "ALICE 900" "BORIS 700" "CLARA 500" "DAVID 300" "EMMA 100" "FRED 50" "GRETA 20" "HUGO 5" >"$home/score.txt"
else
    prefix=/usr
    apt-get install -y -qq "$deb" >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "apt-get install $deb"; }
    launcher_dir=/usr/games data=/usr/share/games/zarvo/data
    export HOME="$work/home"
    unset XDG_DATA_HOME
    home="$HOME/.local/share/zarvo"
    mkdir -p "$HOME"
fi
desktop="$prefix/share/applications/org.zarvo.Zarvo.desktop"
for f in "$launcher_dir/zarvo" "$desktop" "$prefix/share/icons/hicolor/64x64/apps/zarvo.png" \
         "$prefix/share/icons/hicolor/128x128/apps/zarvo.png" "$prefix/share/man/man6/zarvo.6.gz" \
         "$prefix/share/metainfo/org.zarvo.Zarvo.metainfo.xml" "$prefix/share/doc/zarvo/copyright" \
         "$data/graphics/menu.jpg" "$data/sound/menu.ogg"; do
    [ -e "$f" ] || fail "$f is not installed"
done
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
[ "$exec_line" = zarvo ] || fail "the desktop entry's Exec line is '$exec_line', not zarvo"
cat "$home/score.txt" >"$work/score.before" 2>/dev/null || : >"$work/score.before"
usr_state() { find /usr -printf '%p %s %T@ %C@\n' | sort; }
[ -n "$deb" ] && usr_state >"$work/usr.before"
# A desktop session's PATH, which has the games' folder in it.
start_game "$(pic menu.jpg)" "$work/game.log" "$work/elsewhere" env PATH="$launcher_dir:/usr/local/bin:/usr/bin:/bin" $exec_line &&
    ! game_ended || fail "no menu through the desktop entry"
[ "$(readlink "$home/data")" = "$data" ] || fail "the launcher did not link $home/data to the installed data"

step "high scores"
pointer_to 838 322
wait_until 10 on_screen menu1.png 838 322 || fail "Start does not light up under the pointer"
snap menu
click_at 890 394
wait_until 10 on_screen score.jpg 512 384 900x70+62+680 || fail "no high-score screen"
snap high-scores
xdotool click 1
wait_until 10 on_screen menu.jpg 512 384 || fail "a click did not lead back from the high-score screen"

step "intro"
click_at 838 322
wait_until 10 on_screen zarvo2.jpg 512 384 || fail "no intro"
snap intro
xdotool key a
wait_until 10 on_screen gameinfo.png 512 250 || fail "a key did not skip the intro into the game"
snap game-start
pointer_to 500 700 && xdotool click 1
wait_until 10 gone gameinfo.png 512 250 || fail "a click did not take the information box away"

step "play"
# figure SHOT: where the figure is, "x y": the middle of the densest 44 px
# wide column of its jacket's orange (ornaments on the bricks have oranges of
# their own, but fewer and paler).  Every fourth pixel each way is enough, and
# a busy machine reads that in 1 s instead of 15.
figure() {
    convert "$1" -crop 1024x600+0+80 +repage -sample 25% -depth 8 txt:- | awk -F'[,:() ]+' '
        NR > 1 && $3 > 215 && $4 > 100 && $4 < 128 && $5 < 48 { n[$1]++; sy[$1] += $2 }
        END {
            for (c = 0; c < 256; c++) {
                s = 0
                for (k = c - 5; k <= c + 5; k++) s += n[k]
                if (s > best) { best = s; at = c }
            }
            if (best <= 3) { print -999, -999; exit }
            for (k = at - 5; k <= at + 5; k++) { m += n[k]; x += k * n[k]; y += sy[k] }
            print int(x / m * 4 + 2), int(y / m * 4 + 2) + 80
        }'
}
near_x() { local x y; shot "$work/now.png"; read -r x y < <(figure "$work/now.png"); [ $((x - $1)) -gt -12 ] && [ $((x - $1)) -lt 12 ]; }
# letters SHOT RED WARM: the pixels of the status line's cream letters, "x,y"
# a line: red above RED and above blue by more than WARM (the tower behind
# them is violet and scrolls).
letters() { convert "$1" -crop 400x40+312+10 +repage -depth 8 txt:- | awk -F'[,:() ]+' -v r="$2" -v w="$3" 'NR > 1 && $3 > r && $3 - $5 > w { print $1 "," $2 }' | sort; }
# zero: the status line in the last shot reads as it did when the first round
# began, "Level 1 Score 0": at most a few of the letters' solid pixels then are
# missing now.
zero() { [ "$(comm -23 "$work/score0" <(letters "$work/now.png" 190 40) | wc -l)" -le 8 ]; }
# The status line as the first round begins, its letters' solid pixels.
shot "$work/now.png" && letters "$work/now.png" 235 60 >"$work/score0"
# named: the last shot shows the name box, which opens once a figure that
# scored has fallen (the table the test starts from has room for any score
# above 0): result=bounce.
named() { shows "$work/now.png" "$(pic highscore.png)" 512 250 && result=bounce; }
left() { shot "$work/now.png"; named || shows "$work/now.png" "$(pic menu.jpg)" 512 384; }
# new_round: Escape to the menu, Start, the intro skipped by a key, until the
# status line of a new round shows (only the first round opens with the
# information box).  A bounce too late for the last look may have ended in the
# name box before the Escape came, which leaves it there.
new_round() {
    xdotool key Escape
    wait_until 10 left || fail "Escape did not lead to the menu"
    [ "$result" = bounce ] && return
    click_at 838 322
    wait_until 10 on_screen zarvo2.jpg 512 384 || fail "Start did not lead to the intro"
    xdotool key a
    wait_until 10 eval 'shot "$work/now.png" && zero' || fail "a key did not skip the intro into a new round"
}
# dodge: the pointer to the column farthest from the bricks below, so that the
# figure falls out of the screen.
dodge() {
    local busy best=50 bestd=-1 x c d e
    busy=$(for y in 420 560 700; do brick_centres "$work/now.png" $y; done | awk '{ print $1 }')
    for x in 50 150 250 350 450 550 650 750 850 960; do
        d=100000
        for c in $busy; do e=$((x > c ? x - c : c - x)); [ $e -lt $d ] && d=$e; done
        [ $d -gt $bestd ] && best=$x bestd=$d
    done
    pointer_to "$best" 700
}
# outcome: what the attempt came to, from one shot: the name box, or else,
# once the score is above 0, result=scored and the figure is steered clear of
# the bricks until it falls (a figure that keeps landing on bricks for 60 s
# makes way for a new round).  A miss lands the figure on the floor again,
# which spans the screen: with the score still 0 when the figure is well past
# the brick ($past), the attempt is over.
outcome() {
    shot "$work/now.png"
    named && return 0
    [ "$result" = scored ] || ! zero && { result=scored; dodge; return 1; }
    [ $SECONDS -ge $past ]
}
for attempt in $(seq 25); do
    # Each attempt on a new round (new bricks): a layout the jump below cannot
    # use would fail the same way again, and the timing below is the first jump's.
    result=""
    [ "$attempt" -gt 1 ] && new_round
    [ "$result" = bounce ] && break
    # Jump from beside the lower of the first two bricks, then steer over it
    # as the figure rises past it, with a reaction time from 0.25 to 0.75 s.
    # On level 1 the figure is high enough to land on the first brick (y 320)
    # from about 0.37 s after the jump until 1.3 s, and from 200 px aside it
    # reaches the brick's edge in a tenth of a second.
    shot "$work/now.png"
    bx=$(brick_centres "$work/now.png" 320 | awk '$1 > 100 && $2 < 700 { print $1; exit }')
    bx=${bx:-$((150 + (attempt * 173) % 700))}
    offset=$((200 + (attempt % 3) * 30))
    side=$([ "$bx" -lt 500 ] && echo $((bx + offset)) || echo $((bx - offset)))
    reaction=0.$((25 + attempt % 6 * 10))
    echo "attempt $attempt: brick at $bx, jump from $side, steer after $reaction s"
    pointer_to "$side" 700
    wait_until 10 near_x "$side" || { echo "  the figure did not reach $side: at $(figure "$work/now.png")"; continue; }
    # Jump, wait a reaction time, steer: one xdotool command, so that starting
    # a second process on a busy machine does not add to the reaction time.
    xdotool click 1 sleep "$reaction" mousemove "$bx" 700
    past=$((SECONDS + 4))
    wait_until 60 outcome
    [ "$result" = bounce ] && break
    echo "  no name box, score ${result:+above }0: the figure is at $(figure "$work/now.png")"
    cp "$work/now.png" "$shots/attempt-$attempt.png"
done
[ "$result" = bounce ] || fail "the figure never bounced off a brick"

step "name entry"
shot "$work/empty.png"
xdotool key t e s t
typed() { shot "$work/now.png"; [ "$(region_diff "$work/empty.png" "$work/now.png" 200x40+362+285)" -gt 100 ]; }
wait_until 10 typed || fail "the typed name is not drawn in the box"
snap name-entry
xdotool key Return
wait_until 10 on_screen gameagain.png 512 250 || fail "no retry box after the name"
hover_at 418 297
snap retry
line=$(grep '^TEST ' "$home/score.txt") || fail "no line for TEST in score.txt"
[[ "$line" =~ ^TEST\ \ \ \ ([1-9][0-9]*)$ ]] || fail "TEST's line is not the name padded to 7, a space and the score: '$line'"
points=${BASH_REMATCH[1]}
awk -v p="$points" '!done && $2 < p { print "TEST    " p; done = 1 } { print } END { if (!done) print "TEST    " p }' \
    "$work/score.before" >"$work/score.expected"
cmp -s "$work/score.expected" "$home/score.txt" || { diff "$work/score.expected" "$home/score.txt"; fail "score.txt is not the old table with the new line in its place"; }
[ -e "$work/elsewhere/score.txt" ] && fail "score.txt was written into the folder the launcher was started from"

step "retry box, credits, quit"
xdotool click 1
wait_until 10 on_screen menu.jpg 512 384 || fail "the retry box's menu button did not lead to the menu"
click_at 772 466
wait_until 10 on_screen credits.png 512 384 600x300+200+200 || fail "no credits screen"
hover_at 900 60
snap credits
xdotool click 1
wait_until 10 on_screen menu.jpg 512 384 || fail "the credits' return area did not lead back to the menu"
step "the menu left alone shows the climb just filed"
wait_until 60 on_screen tow.png 80 150 || fail "no replay after 60 s on the menu"
snap attract
xdotool click 1
wait_until 10 on_screen menu.jpg 512 384 || fail "a click did not leave the replay for the menu"
click_at 836 543
wait_until 30 game_ended || fail "the game still runs 30 s after the quit button"
wait "$game"
status=$? game=""
[ $status -eq 0 ] || fail "exit status $status"
grep -q '^Error:' "$work/game.log" && fail "the game reported an error"
cmp -s "$work/score.expected" "$home/score.txt" || fail "score.txt changed after the name was filed"
step "the filed climb replays to its score and to the screen at its fall"
mkdir "$work/replay"
"$build/zarvo-replay" "$home/replays/TEST-$points.zrp" --shots "$work/replay" --every 1000000000 ||
    fail "the filed climb does not replay to its score"
# Beside and below the box (the name box then, the game-over box in the
# replay) and the figure (come to rest on the floor since), the same screen.
last=$(ls "$work/replay"/*.ppm)
for part in 460x348+0+420 484x348+540+420; do
    [ "$(region_diff "$work/empty.png" "$last" $part)" -lt 50 ] || { cp "$last" "$shots/replay-last.ppm"; fail "the replay's last screen differs in $part"; }
done
if [ -n "$deb" ]; then
    step "nothing changed under /usr; remove the package"
    usr_state >"$work/usr.after"
    changed=$(diff "$work/usr.before" "$work/usr.after" | head)
    [ -z "$changed" ] || fail "files under /usr changed while playing: $changed"
    dpkg -L zarvo >"$work/files"
    apt-get purge -y -qq zarvo >"$work/remove.log" 2>&1 || { cat "$work/remove.log"; fail "apt-get purge zarvo"; }
    while read -r f; do
        [ -e "$f" ] || continue
        [ -d "$f" ] && { dpkg -S "$f" >/dev/null 2>&1 || [ -n "$(ls -A "$f")" ]; } && continue
        fail "$f is left behind after the package was removed"
    done <"$work/files"
fi
echo "e2e passed; screens in $shots"
