#!/usr/bin/env bash
# Sets up, builds, installs into build/stage and starts Muvesecky as a player would.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build"
cmake --install "$root/build" --prefix "$root/build/stage" >/dev/null
exec "$root/build/stage/bin/muvesecky" "$@"
