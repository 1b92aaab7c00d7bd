#!/usr/bin/env bash
# Builds the game for a browser tab into build-web/site/ (index.html, the program, its packed
# pictures and music): a native build's tools make the game data, Emscripten compiles the
# same sources. With --serve, then serves the folder on http://127.0.0.1:8000.
# Usage: scripts/web.sh [--serve]
# Needs scripts/install-web-deps.sh (Debian's emscripten and libstb-dev). MUV_NATIVE_BUILD
# names the native build folder to take the data from (default build/).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
native="${MUV_NATIVE_BUILD:-$root/build}"
web="$root/build-web"
# Emscripten's JavaScript optimiser needs Debian's acorn.
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"

serve=0
for arg in "$@"; do
    case "$arg" in
    --serve) serve=1 ;;
    *) echo "usage: $0 [--serve]" >&2; exit 2 ;;
    esac
done

# The game data, drawn and played by the native tools.
if [ ! -f "$native/build.ninja" ]; then
    cmake -S "$root" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMUV_WERROR=ON \
        >/dev/null
fi
ninja -C "$native" muv_assets make_assets
fresh="$(mktemp -d)"
trap 'rm -rf "$fresh"' EXIT
cp "$native"/gamedata/*.grh "$native"/gamedata/*.ogg "$fresh/"
# The shipped "sound.cop" and "LEVEL.MGS", fresh (not the developer's own from play).
"$native/tools/make_assets" --defaults "$fresh"
# Only files that changed are replaced: the program is packed again only then.
mkdir -p "$web/gamedata"
for f in "$fresh"/*; do
    cmp -s "$f" "$web/gamedata/${f##*/}" || cp "$f" "$web/gamedata/"
done
for f in "$web/gamedata"/*; do
    [ -e "$fresh/${f##*/}" ] || rm -f "$f"
done
rm -rf "$fresh"

# The program and the page.
if [ ! -f "$web/build.ninja" ]; then
    emcmake cmake -S "$root" -B "$web" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMUV_WERROR=ON \
        >/dev/null
fi
ninja -C "$web" -j "$(nproc)"
echo "The page is in $web/site/"

if [ "$serve" = 1 ]; then
    echo "Serving it on http://127.0.0.1:8000/ (Ctrl+C stops)"
    exec python3 -m http.server 8000 --bind 127.0.0.1 --directory "$web/site"
fi
