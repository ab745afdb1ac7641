#!/usr/bin/env bash
# A game played to the end of the fifteenth level files its score as a fall
# does: against a table whose tenth entry it beats, the autopilot's name goes
# into score.txt with the score it finished with; against a table it cannot
# beat, the file stays as it was.
set -u
bin="${ZARVO_BINARY_DIR:-build}/zarvo-autoplay"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
for n in 10 9 8 7 6 5 4 3 2 1; do echo "LOW$n $((n * 10))"; done >"$work/low.txt"
for n in 10 9 8 7 6 5 4 3 2 1; do echo "HIGH$n 4000000000"; done >"$work/high.txt"
cp "$work/high.txt" "$work/high.before"
for table in low high; do
    out=$("$bin" --runs 1 --levels 15 --seed 1 --table "$work/$table.txt") || fail "autoplay failed: $out"
    [[ "$out" =~ run\ 1:\ cleared\ after\ [0-9]+\ frames,\ score\ ([1-9][0-9]*) ]] || fail "no finished game: $out"
    echo "$table table: finished with ${BASH_REMATCH[1]}"
    [ $table = low ] && points=${BASH_REMATCH[1]}
done
[ "$(head -n 1 "$work/low.txt")" = "A       $points" ] || { cat "$work/low.txt"; fail "the finished score is not filed first"; }
[ "$(wc -l <"$work/low.txt")" -eq 10 ] || fail "the table does not hold ten entries"
cmp -s "$work/high.txt" "$work/high.before" || fail "a score that does not qualify changed the table"
echo "the finished game's score $points was filed"
