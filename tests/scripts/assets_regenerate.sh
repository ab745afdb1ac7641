#!/usr/bin/env bash
# The committed pictures and sounds are exactly what the asset pipeline makes.
set -euo pipefail
exec tools/assets/check
