#!/usr/bin/env bash
# Runs a program of the browser's build under node: node.sh BUILD-WEB PROGRAM.js [ARGS...].
# Says it skipped (exit 77) when that build is missing.
build=$1
program=$2
shift 2
[ -f "$build/$program" ] || { echo "skipped: no $build/$program (scripts/web --build makes it)"; exit 77; }
exec node "$build/$program" "$@"
