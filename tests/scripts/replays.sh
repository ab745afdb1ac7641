#!/usr/bin/env bash
# zarvo-replay's verdicts: the shipped climb plays again to the score and
# level it claims (climbs recorded at other rates, by hand and by the other
# build are replayed by e2e_installed and web_same_climbs); an altered score,
# a cut, other rules and random bytes are each refused with status 1 and a
# one-line reason.
bin="${ZARVO_BINARY_DIR:-build}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "$*"; status=1; }

out=$("$bin/zarvo-replay" data/replays/climb.zrp) || fail "the shipped climb fails: $out"
[ "$out" = "data/replays/climb.zrp: score 13923 on level 15 after 35907 frames" ] || fail "the shipped climb: $out"

# damaged NAME REASON: the shipped climb, changed by the python expression on b.
damaged() {
    /usr/bin/python3 -c "import os, sys; b = open('data/replays/climb.zrp', 'rb').read(); \
sys.stdout.buffer.write($2)" >"$work/$1"
    "$bin/zarvo-replay" "$work/$1" >/dev/null 2>"$work/$1.err"
    local code=$?
    [ $code -eq 1 ] && [ "$(wc -l <"$work/$1.err")" -eq 1 ] && grep -q "$3" "$work/$1.err" ||
        fail "$1: status $code, said: $(cat "$work/$1.err")"
}
# The score (13923) is the varint after the magic, versions and the name "A".
damaged score "b[:8] + bytes([0x84, 0x6d]) + b[10:]" "claims score 13956"
damaged cut "b[:len(b) // 2]" "cut short"
damaged rules "b[:5] + bytes([2]) + b[6:]" "other rules"
damaged random "os.urandom(5000)" "not a replay"
damaged noise "b[:40] + os.urandom(5000)" "."
[ $status -eq 0 ] && echo "replays: all verdicts right"
exit $status
