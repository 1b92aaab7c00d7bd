#!/usr/bin/env bash
# Sets up, builds and runs every test of Muvesecky.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"

echo "== Only the SDL back end may include SDL"
if grep -rlE '#include\s*[<"](SDL|SDL_mixer)' "$root"/{game,view,screens,data,tools,bench} \
        "$root"/services/*.{h,cpp} 2>/dev/null | grep -v '/services/platform_sdl'; then
    echo "SDL is included outside services/platform_sdl*" >&2
    exit 1
fi

echo "== Build and unit tests"
"$root/scripts/build.sh" "$root/build"
ctest --test-dir "$root/build" --output-on-failure -j "$(nproc)"
