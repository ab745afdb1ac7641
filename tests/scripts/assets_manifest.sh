#!/usr/bin/env bash
# Every picture and sound the code loads is in the asset manifest, exists, and
# has the size the manifest gives; every manifest entry is used by the code.
set -euo pipefail
manifest=tools/assets/manifest.txt
fail=0
used=$(grep -rhoE 'data\\\\(graphics|sound)\\\\[A-Za-z0-9_]+\.[a-z]+' src \
       | sed -E 's/\\\\/\//g; s/^data\///' | sort -u)
[ -n "$used" ] || { echo "no asset paths found in src"; exit 1; }
for f in $used; do
    grep -qE "^$f( |$)" "$manifest" || { echo "not in manifest: $f"; fail=1; }
done
while read -r f w h; do
    [ -n "$f" ] || continue
    [ -f "data/$f" ] || { echo "missing file: data/$f"; fail=1; continue; }
    echo "$used" | grep -qx "$f" || { echo "in manifest but never loaded: $f"; fail=1; }
    if [ -n "${w:-}" ]; then
        size=$(identify -format '%w %h' "data/$f[0]")
        [ "$size" = "$w $h" ] || { echo "data/$f is $size, manifest says $w $h"; fail=1; }
    fi
done < "$manifest"
[ $fail -eq 0 ] && echo "$(echo "$used" | wc -l) asset paths checked"
exit $fail
