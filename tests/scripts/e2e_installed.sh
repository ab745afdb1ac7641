#!/usr/bin/env bash
# End to end, as a player meets an installed copy: install the build into a
# fresh prefix, start the game through the installed launcher with a prepared
# score.txt in the player's own folder, and play it with the real pointer and
# keyboard (XTEST): menu highlights, the high-score screen before and after,
# the intro, a game that scores and falls, the name entry, the retry box, the
# credits screen and the quit button.  Last, score.txt must hold the prepared
# lines unchanged plus one new line in its place.
# Screenshots of every step are kept in $ZARVO_BINARY_DIR/e2e-installed/.
set -u
root=$(pwd)
build=$(cd "${ZARVO_BINARY_DIR:-build}" && pwd)
source "$root/tests/support/xdrive.bash"
[ -n "${DISPLAY:-}" ] || { echo "needs an X display (run under xvfb-run)"; exit 1; }
for tool in xdotool xwd convert compare identify; do
    command -v $tool >/dev/null || { echo "needs $tool"; exit 1; }
done
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
# The game's own memory is checked under LeakSanitizer by the unit tests and
# the soak; here, drivers unloaded at exit leave allocations with no module
# name to suppress them by.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0

shots="$build/e2e-installed"
rm -rf "$shots"
mkdir -p "$shots"
work=$(mktemp -d)
prefix="$work/prefix"
export XDG_DATA_HOME="$work/xdg"
home="$XDG_DATA_HOME/zarvo"
game=""
cleanup() {
    [ -n "$game" ] && alive "$game" && kill "$game" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

step() { echo "== $*"; }
fail() {
    echo "FAIL: $*"
    shot "$shots/failure.png" 2>/dev/null && echo "screen at the failure: $shots/failure.png"
    [ -f "$work/game.log" ] && { echo "game output:"; tail -n 20 "$work/game.log"; }
    exit 1
}
# snap NAME: screenshot into the kept folder; prints its path.
# Called in $(...), so the running number is kept in a file.
snap() {
    local n f
    n=$(($(cat "$work/snaps" 2>/dev/null || echo 0) + 1))
    echo $n >"$work/snaps"
    f=$(printf '%s/%02d-%s.png' "$shots" "$n" "$1")
    shot "$f"
    echo "$f"
}
running() { alive "$game" || fail "the game has ended (see its output)"; }
pic() { echo "$prefix/share/zarvo/data/graphics/$1"; }

# --- install -----------------------------------------------------------------
step "install into a temporary prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; fail "cmake --install failed"; }
for f in bin/zarvo lib/zarvo/zarvo share/applications/zarvo.desktop \
         share/icons/hicolor/64x64/apps/zarvo.png \
         share/zarvo/data/graphics/menu.jpg share/zarvo/data/sound/menu.ogg; do
    [ -e "$prefix/$f" ] || fail "$f is not installed"
done
[ -x "$prefix/bin/zarvo" ] && [ -x "$prefix/lib/zarvo/zarvo" ] || fail "installed programs are not executable"
grep -qx 'Exec=zarvo' "$prefix/share/applications/zarvo.desktop" || fail "desktop entry has no Exec=zarvo"
grep -qx 'Icon=zarvo' "$prefix/share/applications/zarvo.desktop" || fail "desktop entry has no Icon=zarvo"
[ "$(identify -format '%m %wx%h' "$prefix/share/icons/hicolor/64x64/apps/zarvo.png")" = "PNG 64x64" ] ||
    fail "the icon is not a 64x64 PNG"

# --- the player's folder, with a table of eight entries ----------------------
mkdir -p "$home"
printf '%s\n' "ALICE 900" "BORIS 700" "CLARA 500" "DAVID 300" "EMMA 100" "FRED 50" "GRETA 20" "HUGO 5" \
    >"$home/score.txt"
cp "$home/score.txt" "$work/score.before"
rm -f "$home/data"

step "start the game through the launcher (from an unrelated folder)"
mkdir -p "$work/elsewhere"
(cd "$work/elsewhere" && exec "$prefix/bin/zarvo") </dev/null >"$work/game.log" 2>&1 &
game=$!
# Standard output goes to a file, so the start-up line shows only at exit.
wait_until 15 test -L "$home/data" || fail "the launcher made no data link in $home"
[ "$(readlink "$home/data")" = "$prefix/share/zarvo/data" ] || fail "the launcher did not link $home/data to the installed data"
sleep 3
running

# --- main menu: highlights follow the pointer, edges included ------------------
step "menu highlights"
pointer_to 600 700
sleep 0.6
base=$(snap menu)
shows "$base" "$(pic menu.jpg)" 512 384 || fail "the menu picture is not on screen"
# name  centre  half-width  half-height  comparison region (clear of the pointer)
buttons=("start 838 322 64 32" "scores 890 394 100 33" "credits 772 466 103 35" "quit 836 543 105 32")
for b in "${buttons[@]}"; do
    read -r name cx cy hw hh <<<"$b"
    region="40x20+$((cx + 10))+$((cy - 10))"
    # Just inside the left edge, then just outside it.
    pointer_to $((cx - hw + 1)) "$cy"
    sleep 0.5
    in=$(snap "menu-$name-inside")
    pointer_to $((cx - hw - 3)) "$cy"
    sleep 0.5
    out=$(snap "menu-$name-outside")
    lit=$(region_diff "$base" "$in" "$region")
    dark=$(region_diff "$base" "$out" "$region")
    echo "   $name: $lit pixels change with the pointer inside, $dark outside"
    [ "$lit" -gt 80 ] || fail "no highlight on $name with the pointer just inside its edge"
    [ "$dark" -lt 20 ] || fail "a highlight on $name with the pointer just outside its edge"
done
running

# --- the high-score screen before the game -------------------------------------
step "high scores (before)"
pointer_to 890 394; sleep 0.3; xdotool click 1
sleep 0.8
pointer_to 1000 740
sleep 0.5
scores_before=$(snap scores-before)
shows "$scores_before" "$(pic score.jpg)" 512 384 900x70+62+680 || fail "the high-score picture is not on screen"
xdotool click 1
sleep 0.8
back=$(snap menu-again)
shows "$back" "$(pic menu.jpg)" 512 384 || fail "a click did not lead back from the high-score screen"

# --- intro, skipped by a key ----------------------------------------------------
step "intro"
pointer_to 838 322; sleep 0.3; xdotool click 1
sleep 1.5
intro=$(snap intro)
shows "$intro" "$(pic zarvo2.jpg)" 512 384 || fail "the intro's first slide is not on screen"
xdotool key a
sleep 1.2
info=$(snap game-info)
shows "$info" "$(pic gameinfo.png)" 512 250 || fail "the game did not start with its information box"
running

# --- play: jump from the floor onto a brick, then fall out ----------------------
step "play"
pointer_to 500 700; sleep 0.3; xdotool click 1
sleep 0.8
field=$(snap game-running)
shows "$field" "$(pic gameinfo.png)" 512 250 && fail "a click did not take the information box away"
has_floor() { brick_centres "$1" 600 | awk '$2 > 700 { f = 1 } END { exit !f }'; }
has_floor "$field" || fail "no floor brick under the figure"

bounced=0
for attempt in 1 2 3 4 5 6 7 8; do
    now=$(snap "jump-$attempt-before")
    has_floor "$now" || { bounced=1; break; }
    # The lower of the two first bricks crosses row 320.
    bx=$(brick_centres "$now" 320 | awk '$1 > 100 { print $1; exit }')
    [ -n "$bx" ] || bx=$((150 + (attempt * 173) % 700))
    # Jump from beside the brick, then steer over it while above its top.
    offset=$((200 + (attempt % 3) * 30))
    if [ "$bx" -lt 500 ]; then side=$((bx + offset)); else side=$((bx - offset)); fi
    echo "   attempt $attempt: brick at x $bx, jumping from x $side"
    pointer_to "$side" 700
    sleep 0.8
    xdotool click 1
    sleep "0.$((35 + attempt * 3))"
    pointer_to "$bx" 700
    sleep 2.2
    running
    after=$(snap "jump-$attempt-after")
    has_floor "$after" || { bounced=1; break; }
done
[ $bounced -eq 1 ] || fail "the figure never bounced off a brick"

# Keep the figure away from the bricks below it until it falls out.
named=0
for poll in $(seq 150); do
    now="$work/poll.png"
    shot "$now"
    if shows "$now" "$(pic highscore.png)" 512 250; then named=1; break; fi
    busy=$( { brick_centres "$now" 420; brick_centres "$now" 560; brick_centres "$now" 700; } | awk '{ print $1 }')
    best=50 bestd=-1
    for x in 50 150 250 350 450 550 650 750 850 960; do
        d=100000
        for c in $busy; do
            e=$((x > c ? x - c : c - x))
            [ $e -lt $d ] && d=$e
        done
        [ $d -gt $bestd ] && { best=$x; bestd=$d; }
    done
    pointer_to "$best" 700
    running
    sleep 0.15
done
[ $named -eq 1 ] || fail "no name entry box within the time allowed"

# --- name entry -----------------------------------------------------------------
step "name entry"
empty=$(snap name-empty)
xdotool key t e s t
sleep 0.6
typed=$(snap name-typed)
letters=$(region_diff "$empty" "$typed" "200x40+362+285")
echo "   $letters pixels of the name field changed while typing"
[ "$letters" -gt 100 ] || fail "the typed name is not drawn in the box"
xdotool key Return
sleep 0.8
retry=$(snap retry)
shows "$retry" "$(pic gameagain.png)" 512 250 || fail "no retry box after Return"

step "score file"
line=$(grep '^TEST ' "$home/score.txt") || { cat "$home/score.txt"; fail "no line for TEST in score.txt"; }
[[ "$line" =~ ^TEST\ \ \ \ ([1-9][0-9]*)$ ]] || fail "TEST's line is not the name padded to 7, a space and the score: '$line'"
points=${BASH_REMATCH[1]}
echo "   TEST scored $points"
# The expected file: the prepared lines with the new one below every score
# that is greater than or equal to it.
awk -v p="$points" '!done && $2 < p { print "TEST    " p; done = 1 } { print } END { if (!done) print "TEST    " p }' \
    "$work/score.before" >"$work/score.expected"
cmp -s "$work/score.expected" "$home/score.txt" || {
    diff "$work/score.expected" "$home/score.txt"
    fail "score.txt is not the old table with the new line in its place"
}
rank=$(grep -n '^TEST ' "$home/score.txt" | cut -d: -f1)
rank=$((rank - 1))
[ -e "$work/elsewhere/score.txt" ] && fail "score.txt was written into the folder the launcher was started from"

# --- retry box: menu button highlight, then back to the menu -------------------
step "retry box"
pointer_to 560 420
sleep 0.5
plain=$(snap retry-plain)
pointer_to 418 297
sleep 0.5
lit=$(snap retry-menu-hover)
d=$(region_diff "$plain" "$lit" "45x40+348+280")
echo "   $d pixels of the menu button change under the pointer"
[ "$d" -gt 60 ] || fail "the menu button of the retry box does not light up"
xdotool click 1
sleep 1
menu=$(snap menu-after-game)
shows "$menu" "$(pic menu.jpg)" 512 384 || fail "the retry box's menu button did not lead to the menu"

# --- the high-score screen after the game --------------------------------------
step "high scores (after)"
pointer_to 890 394; sleep 0.3; xdotool click 1
sleep 0.8
pointer_to 1000 740
sleep 0.5
scores_after=$(snap scores-after)
for i in 0 1 2 3 4 5 6 7 8 9; do
    y=$((128 + 53 * i))
    d=$(region_diff "$scores_before" "$scores_after" "760x40+136+$((y - 8))")
    if [ $i -lt "$rank" ] || [ $i -gt 8 ]; then
        [ "$d" -lt 30 ] || fail "row $i of the high-score screen changed ($d pixels) though its entry did not"
    else
        [ "$d" -gt 100 ] || fail "row $i of the high-score screen did not change ($d pixels) though its entry moved"
    fi
done
echo "   rows $rank..8 changed, the others stayed"
xdotool click 1
sleep 0.8

# --- credits: the return area lights up only inside ----------------------------
step "credits"
pointer_to 772 466; sleep 0.3; xdotool click 1
sleep 0.8
pointer_to 10 740
sleep 0.5
cplain=$(snap credits)
shows "$cplain" "$(pic credits.png)" 512 384 600x300+200+200 || fail "the credits picture is not on screen"
region="100x50+880+30"
for p in "768 127 out" "769 128 out" "769 127 in" "1020 5 in"; do
    read -r x y where <<<"$p"
    pointer_to "$x" "$y"
    sleep 0.5
    s=$(snap "credits-$x-$y")
    d=$(region_diff "$cplain" "$s" "$region")
    echo "   pointer at ($x, $y): $d pixels change"
    if [ "$where" = in ]; then
        [ "$d" -gt 80 ] || fail "no return highlight with the pointer at ($x, $y)"
    else
        [ "$d" -lt 20 ] || fail "return highlight with the pointer at ($x, $y), outside the area"
    fi
done
pointer_to 900 60; sleep 0.3; xdotool click 1
sleep 0.8
menu=$(snap menu-end)
shows "$menu" "$(pic menu.jpg)" 512 384 || fail "the return area did not lead back to the menu"

# --- quit -------------------------------------------------------------------------
step "quit"
pointer_to 836 543; sleep 0.3; xdotool click 1
wait_until 10 bash -c "! kill -0 $game 2>/dev/null" || fail "the game still runs 10 s after the quit button"
wait "$game"
status=$?
game=""
[ $status -eq 0 ] || fail "exit status $status"
grep -q '^Error:' "$work/game.log" && fail "the game reported an error"
grep -q '^Zarvo started' "$work/game.log" || fail "no start-up line"
cmp -s "$work/score.expected" "$home/score.txt" || fail "score.txt changed after the name was filed"
echo "e2e passed; screenshots in $shots"
