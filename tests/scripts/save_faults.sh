#!/usr/bin/env bash
# Saving the high-score table under injected faults (open, mid-write, flush,
# fsync, close, rename, a full disk, a read-only folder) leaves the old or the
# new table on disk, whole, never a broken one.
set -u
out="${ZARVO_BINARY_DIR:-build}/faults"
mkdir -p "$out"
${CXX:-c++} -std=c++17 -O1 -g -fsanitize=address,undefined -Isrc tests/soak/save_faults.cpp \
    src/frontend/HighScoreTable.cpp -o "$out/save_faults" \
    -Wl,--wrap=fopen,--wrap=fprintf,--wrap=fflush,--wrap=fsync,--wrap=fclose,--wrap=rename ||
    { echo "build of save_faults failed"; exit 1; }
exec "$out/save_faults"
