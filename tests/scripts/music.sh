#!/usr/bin/env bash
# The score reader behind the music, and the committed pieces: lengths, loop
# seams, the intro's changes at the slide fades.
set -euo pipefail
exec /usr/bin/python3 tests/scripts/music_test.py
