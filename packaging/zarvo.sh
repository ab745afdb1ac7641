#!/bin/sh
# Starts an installed Zarvo.  The game reads data/ and keeps score.txt in its
# working directory, so every player gets a folder of their own:
#   ${XDG_DATA_HOME:-$HOME/.local/share}/zarvo/score.txt
#   ${XDG_DATA_HOME:-$HOME/.local/share}/zarvo/data -> <prefix>/share/zarvo/data
set -eu
self=$(readlink -f "$0")
prefix=$(cd "$(dirname "$self")/.." && pwd)
game="$prefix/lib/zarvo/zarvo"
data="$prefix/share/zarvo/data"
home="${XDG_DATA_HOME:-${HOME:?HOME is not set}/.local/share}/zarvo"

[ -x "$game" ] || { echo "zarvo: $game is missing" >&2; exit 1; }
[ -d "$data/graphics" ] || { echo "zarvo: no pictures in $data/graphics" >&2; exit 1; }
mkdir -p "$home"
# Point data at this installation, replacing a link left by an older one.
if [ -L "$home/data" ] || [ ! -e "$home/data" ]; then
    ln -sfn "$data" "$home/data"
else
    echo "zarvo: $home/data is not a link; leaving it alone" >&2
fi
cd "$home"
exec "$game" "$@"
