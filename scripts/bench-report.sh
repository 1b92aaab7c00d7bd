#!/usr/bin/env bash
# Builds the game and its benchmarks, runs them and the real game under Xvfb, prints the
# table and writes docs/performance.md.   BUILD (default build): the build folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD:-$root/build}"
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMUV_WERROR=ON >/dev/null
fi
ninja -C "$build" -j2  # everything: the start measure installs the build
python3 "$root/scripts/bench_report.py" "$build" "$root/docs/performance.md"
