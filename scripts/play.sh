#!/usr/bin/env bash
# Sets up, builds and starts Muvesecky in its data folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build"
cd "$root/build/gamedata"
exec "$root/build/muvesecky"
