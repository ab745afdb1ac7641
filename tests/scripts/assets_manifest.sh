#!/usr/bin/env bash
# The pictures and sounds the code loads (the game by its paths, the browser's
# page by its file system's) are exactly those the asset pipeline makes, the
# entries of its manifest.  That each entry exists with the size given there
# is checked as the pipeline writes them (assets_regenerate).
set -euo pipefail
used=$(grep -rhoE 'data(\\\\|/)(graphics|sound)(\\\\|/)[A-Za-z0-9_]+\.[a-z]+' src \
       | sed -E 's/\\\\/\//g; s/^data\///' | sort -u)
[ -n "$used" ] || { echo "no asset paths found in src"; exit 1; }
made=$(awk 'NF { print $1 }' tools/assets/manifest.txt | sort -u)
unmade=$(comm -23 <(echo "$used") <(echo "$made")) unused=$(comm -13 <(echo "$used") <(echo "$made"))
[ -z "$unmade" ] || echo "loaded by the code but not in the manifest:" $unmade
[ -z "$unused" ] || echo "in the manifest but never loaded:" $unused
[ -z "$unmade$unused" ] && echo "$(echo "$used" | wc -l) asset paths checked"
