#!/usr/bin/env bash
# The game starts, plays and quits cleanly without audio, without score.txt,
# with score.txt a folder and in an unwritable working folder.
exec bash tests/soak/bad_env --bin "${ZARVO_BINARY_DIR:-build}/zarvo"
