#!/usr/bin/env bash
# The page test (ctest "web_page"): builds the page with scripts/web.sh from this native
# build's data, checks the number table in the browser's C library (under Node.js), then plays
# the page in headless Chromium against the headless platform.
# Usage: tests/web/run.sh NATIVE_BUILD_DIR
# Without Emscripten, Chromium or playwright-core it fails and says what to install; with
# MUV_WEB_TEST_OPTIONAL=1 it is skipped instead (exit 77).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
native="$(cd "$1" && pwd)"

missing=()
command -v emcc >/dev/null || missing+=(emscripten)
[ -x /usr/bin/chromium ] || missing+=(chromium)
command -v node >/dev/null || missing+=(nodejs)
[ -d "$root/tests/web/node_modules/playwright-core" ] || missing+=(playwright-core)
if [ ${#missing[@]} -gt 0 ]; then
    echo "missing: ${missing[*]} (scripts/install-web-deps.sh installs them)"
    [ "${MUV_WEB_TEST_OPTIONAL:-0}" = 1 ] && exit 77
    exit 1
fi

MUV_NATIVE_BUILD="$native" "$root/scripts/web.sh" >"$native/web-build.log" 2>&1 || {
    tail -30 "$native/web-build.log"
    exit 1
}
node "$root/build-web/muv_web_tests.js"
exec node "$root/tests/web/page_test.mjs" "$root/build-web/site" "$root/build-web/gamedata" \
    "$native/tools/web_replay" "$native/web-page-test"
