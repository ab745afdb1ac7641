#!/usr/bin/env bash
# Ten autoplayed fifteen-level games under ASan/LSan/UBSan: no reports, no errors.
# Uses the build under test when it is sanitized, else builds build-soak/.
set -u
dir="${ZARVO_BINARY_DIR:-build}"
if grep -q '^ZARVO_SANITIZE:BOOL=ON' "$dir/CMakeCache.txt" 2>/dev/null && [ -x "$dir/zarvo-autoplay" ]; then
    exec bash tests/soak/run 10 --bin "$dir/zarvo-autoplay"
fi
exec bash tests/soak/run 10
