#!/usr/bin/env bash
# Checks that includes run one way: the main flow (game/) on the view, the screens and the
# game's core; those on the services; the services on the data. Only the SDL back end
# (services/platform_sdl*) includes SDL. Prints every include that runs the wrong way.
set -euo pipefail
cd "$(dirname "$0")/.."

# What each folder may include from the project, besides itself.
allowed() {
    case "$1" in
        data) echo "data" ;;
        services) echo "services data" ;;
        game/core) echo "game/core services data" ;;
        view | screens) echo "$1 game/core services data" ;;
        game) echo "game game/core view screens services data" ;;
    esac
}

status=0
for layer in data services game/core view screens game; do
    ok=" $(allowed "$layer") "
    for file in $(git ls-files "$layer/*.h" "$layer/*.cpp"); do
        # game/ itself is checked as the main flow only outside game/core.
        [ "$layer" = game ] && [[ "$file" == game/core/* ]] && continue
        while IFS= read -r target; do
            folder=${target%/*}
            [ "$folder" = game/core ] || folder=${folder%%/*}
            if [[ "$ok" != *" $folder "* ]]; then
                echo "$file includes $target: $layer may not include $folder" >&2
                status=1
            fi
        done < <(sed -nE 's|^#include "([a-z_/]+/[a-z_0-9]+\.h)".*|\1|p' "$file")
    done
done

if git grep -nE '#include\s*[<"](SDL|SDL_mixer)[./>"]' -- ':!services/platform_sdl*' >&2; then
    echo "SDL is included outside services/platform_sdl*" >&2
    status=1
fi
[ "$status" -eq 0 ] && echo "Includes run one way; SDL stays in services/platform_sdl*"
exit "$status"
