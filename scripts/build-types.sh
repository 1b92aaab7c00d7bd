#!/usr/bin/env bash
# Builds Muvesecky as packagers may: each standard build type with GCC and with clang, warnings
# as errors, so that no optimiser's warning turns into a broken build for them.
# Usage: scripts/build-types.sh [BUILD_TYPE...]   (default: Debug Release RelWithDebInfo MinSizeRel)
#   Folders: build-types/COMPILER-TYPE.  MUV_EVERYTHING=1 builds the tests and benchmarks too;
#   MUV_COMPILERS (default "gcc clang") picks the compilers.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
types=("$@")
[ ${#types[@]} -gt 0 ] || types=(Debug Release RelWithDebInfo MinSizeRel)
extra="OFF"
[ "${MUV_EVERYTHING:-0}" = 1 ] && extra="ON"

failed=()
read -r -a compilers <<<"${MUV_COMPILERS:-gcc clang}"
for compiler in "${compilers[@]}"; do
    cxx=g++
    [ "$compiler" = clang ] && cxx=clang++
    for type in "${types[@]}"; do
        build="$root/build-types/$compiler-$type"
        echo "== $compiler $type"
        if ! { cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="$type" \
                   -DCMAKE_C_COMPILER="$compiler" -DCMAKE_CXX_COMPILER="$cxx" -DMUV_WERROR=ON \
                   -DMUV_TESTS="$extra" -DMUV_BENCH="$extra" >/dev/null &&
               ninja -C "$build" -j "$(nproc)" -k 0 >"$build.log" 2>&1; }; then
            failed+=("$compiler-$type")
            grep -m 20 -E "error|FAILED" "$build.log" >&2 || true
        fi
    done
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "These builds failed: ${failed[*]} (logs in build-types/)" >&2
    exit 1
fi
echo "All builds succeeded: ${compilers[*]}, ${types[*]}"
