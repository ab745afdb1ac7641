#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan), replays the saved corpus
# of each, then fuzzes each for a short while from a scratch copy of it.
# Passes when no input crashes, trips a sanitizer or breaks an invariant.
set -u
root=$(pwd)
out="${ZARVO_BINARY_DIR:-$root/build}/fuzz"
seconds=${ZARVO_FUZZ_SECONDS:-20}
command -v clang++-14 >/dev/null || command -v clang++ >/dev/null || { echo "clang++ is needed"; exit 1; }
bash "$root/fuzz/build.sh" "$out" || { echo "fuzzer build failed"; exit 1; }
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
for target in highscore_fuzz font_fuzz replay_fuzz; do
    corpus="$root/fuzz/corpus/$target"
    echo "== $target: replaying $(ls "$corpus" | wc -l) saved inputs"
    if ! (cd "$scratch" && "$out/$target" -runs=0 "$corpus" >"$scratch/$target.replay.log" 2>&1); then
        tail -n 40 "$scratch/$target.replay.log"; echo "$target: a saved input fails"; status=1; continue
    fi
    mkdir -p "$scratch/$target"
    cp "$corpus"/* "$scratch/$target/" 2>/dev/null
    echo "== $target: fuzzing for $seconds s"
    if ! (cd "$scratch" && "$out/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
            "$scratch/$target" >"$scratch/$target.fuzz.log" 2>&1); then
        tail -n 40 "$scratch/$target.fuzz.log"; echo "$target: fuzzing found a failing input"
        ls "$scratch"/crash-* "$scratch"/leak-* "$scratch"/timeout-* 2>/dev/null; status=1; continue
    fi
    grep -E '^(Done|#[0-9]+[[:space:]]+DONE)' "$scratch/$target.fuzz.log" | tail -n 2
done
[ $status -eq 0 ] && echo "fuzz replay: all targets clean"
exit $status
