#!/usr/bin/env bash
# Checks that includes run one way, as the folder tree draws the layers: the main flow (game/)
# on the view and the screens, those on the game's core, the core on the services' front,
# the front on the services' parts, the parts on the platform seam and the data. Only the SDL
# back end includes SDL, and the game's code uses the services' operations, not their parts.
# Prints every include (or call) that runs the wrong way.
set -euo pipefail
cd "$(dirname "$0")/.."

# Each room and the rooms directly beneath it; a room may include itself and everything beneath
# it, directly or not. A file's room is the deepest folder listed here that holds it.
rooms=(
    "game: view screens services/platform/sdl services/platform/web services/settings"
    "view: core"
    "screens: core"
    "core: services"
    "services: services/window services/input services/video services/audio services/files"
    "services/window: services/input services/video"
    "services/input: services/platform"
    "services/video: services/common data"
    "services/audio: services/platform"
    "services/files: services/common"
    "services/settings: services/files services/platform"
    "services/platform/sdl: services/platform services/input services/video services/files"
    "services/platform/headless: services/platform services/video"
    "services/platform/web: services/platform"
    "services/platform: services/common"
    "services/common: data"
    "data:"
)

room_of() {
    local best=""
    for entry in "${rooms[@]}"; do
        local room=${entry%%:*}
        if [[ "$1" == "$room"/* && ${#room} -gt ${#best} ]]; then best=$room; fi
    done
    echo "$best"
}

# The room itself and every room beneath it, each between spaces.
beneath() {
    local found=" $1 " queue=("$1")
    while [ ${#queue[@]} -gt 0 ]; do
        local room=${queue[0]}
        queue=("${queue[@]:1}")
        for entry in "${rooms[@]}"; do
            [ "${entry%%:*}" = "$room" ] || continue
            for below in ${entry#*:}; do
                [[ "$found" == *" $below "* ]] || { found+="$below "; queue+=("$below"); }
            done
        done
    done
    echo "$found"
}

status=0
for file in $(git ls-files 'data/*' 'services/*' 'core/*' 'view/*' 'screens/*' 'game/*' |
              grep -E '\.(h|cpp)$'); do
    room=$(room_of "$file")
    ok=$(beneath "$room")
    while IFS= read -r target; do
        [ -n "$target" ] || continue
        folder=$(room_of "$target")
        if [[ "$ok" != *" $folder "* ]]; then
            echo "$file includes $target: $room may not include $folder" >&2
            status=1
        fi
    done < <(sed -nE 's|^#include "([a-z_/]+/[a-z_0-9]+\.h)".*|\1|p' "$file")
done

if git grep -nE '#include\s*[<"](SDL|SDL_mixer)[./>"]' -- ':!services/platform/sdl/*' >&2; then
    echo "SDL is included outside services/platform/sdl/" >&2
    status=1
fi
# The game's code reaches the services through their operations, never through their parts
# (the platform, the key buffer, the sound system, the window loop): those are for the
# program's set-up and the tests.
if git grep -nE '\.(platform|keys|sound|window)\(\)' -- 'game/*' 'view/*' 'screens/*' 'core/*' >&2; then
    echo "the game's code reaches past the services' operations to their parts" >&2
    status=1
fi
[ "$status" -eq 0 ] && echo "Includes run one way; SDL stays in services/platform/sdl/; the game uses the services' operations"
exit "$status"
