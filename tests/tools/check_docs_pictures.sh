#!/bin/sh
# The README's pictures come out of the picture tools byte for byte as docs/ holds them.
# Arguments: the tools' folder, the data folder, docs/.
set -eu
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$1/screens_png" "$2" "$out" >/dev/null
"$1/docs_png" "$2" "$out" >/dev/null
for picture in "$out"/*.png; do
    cmp "$picture" "$3/$(basename "$picture")"
done
