#!/usr/bin/env bash
# Installs what the browser build and its test need, besides scripts/install-deps.sh: Debian's
# Emscripten (works offline with its own C library), stb_vorbis (libstb-dev), acorn for
# Emscripten's optimiser, Chromium for the page's test, and playwright-core from npm to drive it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

packages=(emscripten libstb-dev node-acorn chromium)
# A Node.js already there (Debian's or a newer one) serves; else Debian's.
command -v node >/dev/null && command -v npm >/dev/null || packages+=(nodejs npm)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
fi

# The test's browser driver, pinned in tests/web/package.json.
if [ ! -d "$root/tests/web/node_modules/playwright-core" ]; then
    (cd "$root/tests/web" && npm ci --no-audit --no-fund --silent)
fi
