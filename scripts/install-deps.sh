#!/usr/bin/env bash
# Installs the Debian packages Muvesecky needs to build, run and test (only the missing ones),
# the browser build's too unless --no-web is given.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config clang clang-format libclang-rt-14-dev
    libsdl1.2-compat-dev libsdl-mixer1.2-dev libvorbis-dev libpng-dev libsndfile1-dev python3
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xdotool x11-apps x11-utils imagemagick
    # the package and the desktop's files: icons, checks, manual page, run-time dependencies
    librsvg2-bin desktop-file-utils appstream man-db dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# The browser build and its page test (Emscripten, stb_vorbis, Chromium, playwright-core);
# --no-web leaves them out.
[ "${1:-}" = "--no-web" ] || "$(dirname "$0")/install-web-deps.sh"
