#!/usr/bin/env bash
# End to end, as a player meets an installed copy, on a screen of its own:
# install the game, start it through its desktop entry's Exec line from an
# unrelated folder, and play it with the real pointer and keyboard: the
# high-score screen, the intro, a game that scores and falls, the name entry,
# the retry box, the credits, quit, and the filed climb replayed by the
# installed zarvo-replay.  score.txt in the player's own folder must
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
for f in "$launcher_dir/zarvo" "$launcher_dir/zarvo-replay" "$desktop" "$prefix/share/icons/hicolor/64x64/apps/zarvo.png" \
         "$prefix/share/icons/hicolor/128x128/apps/zarvo.png" "$prefix/share/man/man6/zarvo.6.gz" "$prefix/share/man/man6/zarvo-replay.6.gz" \
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
/usr/bin/python3 "$root/tests/scripts/bounce.py" || fail "the figure never bounced off a brick"

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
# (Whatever the climb shows, it is no menu: its bricks may cover any other picture.)
wait_until 60 gone menu.jpg 512 384 || fail "no replay after 60 s on the menu"
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
(cd "$work/elsewhere" && "$launcher_dir/zarvo-replay" "$home/replays/TEST-$points.zrp" --shots "$work/replay" --every 1000000000) ||
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
