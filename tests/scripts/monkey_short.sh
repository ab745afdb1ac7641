#!/usr/bin/env bash
# One minute of seeded random input to the real game; it must stay alive, keep
# drawing, keep score.txt a sound table and quit with status 0.
set -u
exec bash tests/soak/monkey 1 --seed 7 --bin "${ZARVO_BINARY_DIR:-build}/zarvo"
