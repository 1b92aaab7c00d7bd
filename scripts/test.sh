#!/usr/bin/env bash
# Sets up, builds and runs every test of Muvesecky: the unit and flow tests, the real-window
# end-to-end tests and the Debian package's tests, Release builds with GCC and clang, the whole
# suite again under AddressSanitizer and UndefinedBehaviorSanitizer, the two-thread tests under
# ThreadSanitizer, and the fuzzers for a bounded time.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
jobs="$(nproc)"

echo "== Includes run one way, only the SDL back end includes SDL, every file is formatted"
"$root/scripts/check-layers.sh"
"$root/scripts/check-format.sh"

echo "== Build and test (unit, flow and real-window tests)"
"$root/scripts/build.sh" "$root/build"
ctest --test-dir "$root/build" --output-on-failure -j "$jobs"

echo "== Release builds with GCC and with clang, as packagers build (warnings as errors)"
"$root/scripts/build-types.sh" Release

echo "== AddressSanitizer and UndefinedBehaviorSanitizer (with float-to-integer overflow): the whole suite"
"$root/scripts/build.sh" "$root/build-asan" -DMUV_SANITIZE=address -DMUV_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    LSAN_OPTIONS="suppressions=$root/tests/lsan.supp" \
    ctest --test-dir "$root/build-asan" --output-on-failure -j "$jobs" -LE 'e2e|web'

echo "== ThreadSanitizer: the window thread, key buffer, tone queue and mode changes"
cmake -S "$root" -B "$root/build-tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMUV_WERROR=ON \
    -DMUV_SANITIZE=thread -DMUV_BENCH=OFF >/dev/null
ninja -C "$root/build-tsan" -j "$jobs" sdl_window sdl_audio
ctest --test-dir "$root/build-tsan" --output-on-failure -R '^(SdlBackEnd|SdlAudio)\.' \
    --timeout 600

if [ -x "$root/scripts/fuzz.sh" ]; then
    echo "== Fuzzing the readers of outside data"
    FUZZ_SECONDS="${FUZZ_SECONDS:-30}" "$root/scripts/fuzz.sh"
fi
