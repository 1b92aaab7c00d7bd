#!/usr/bin/env bash
# Installs the Debian packages Muvesecky needs to build, run and test (only the missing ones),
# unpacks the classic SDL 1.2 for the real-window test beside the system, and installs the
# browser build's tools too unless --no-web is given.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config clang clang-format libclang-rt-14-dev
    libsdl1.2-compat-dev libsdl-mixer1.2-dev libx11-dev libvorbis-dev libpng-dev libsndfile1-dev python3
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xdotool x11-apps x11-utils imagemagick
    # the package and the desktop's files: icons, checks, manual page, run-time dependencies
    librsvg2-bin desktop-file-utils appstream man-db dpkg-dev file lintian
)

# A player's apt may still choose the classic SDL 1.2 (libsdl1.2debian) over the SDL 1.2 on
# SDL 2 we build with; the two cannot be installed together, so the classic one is only
# unpacked into this folder, where the real-window test runs the game on it
# (tests/e2e/test_window_e2e.py --sdl-from). Its own libraries are installed as usual.
classic_sdl=libsdl1.2debian
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
# On a fresh machine apt knows no package until its lists are read.
apt-cache show "$classic_sdl" >/dev/null 2>&1 || $sudo apt-get update -qq
classic_dir="${MUV_CLASSIC_SDL:-$HOME/.cache/muvesecky/sdl1.2-classic}" # -DMUV_CLASSIC_SDL
mapfile -t classic_needs < <(apt-cache depends --no-recommends --no-suggests "$classic_sdl" |
    awk '$1 == "Depends:" && $2 !~ /^</ { print $2 }')
packages+=("${classic_needs[@]}")

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi

version=$(apt-cache policy "$classic_sdl" | awk '$1 == "Candidate:" { print $2 }')
if [ "$(cat "$classic_dir/version" 2>/dev/null)" != "$version" ]; then
    echo "Unpacking $classic_sdl $version into $classic_dir"
    download=$(mktemp -d)
    if [ "$(id -u)" -eq 0 ] && id _apt >/dev/null 2>&1; then
        chown _apt "$download" # apt, run as root, fetches as its own user
    fi
    trap 'rm -rf "$download"' EXIT
    (cd "$download" && apt-get download -qq "$classic_sdl=$version")
    rm -rf "$classic_dir"
    mkdir -p "$classic_dir"
    dpkg-deb -x "$download"/*.deb "$classic_dir"
    echo "$version" >"$classic_dir/version"
fi

# The browser build and its page test (Emscripten, stb_vorbis, Chromium, playwright-core);
# --no-web leaves them out.
[ "${1:-}" = "--no-web" ] || "$(dirname "$0")/install-web-deps.sh"
