#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time, seeded with the
# game's own files; fails on any crash (the crashing input is left in the artifacts folder).
#   FUZZ_SECONDS (default 30): time per target.  BUILD (default build-fuzz): build folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD:-$root/build-fuzz}"
seconds="${FUZZ_SECONDS:-30}"
data="$root/build/gamedata"
targets=(fuzz_block_file fuzz_macro fuzz_ogg fuzz_read_item fuzz_numbers)

if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DMUV_FUZZ=ON -DMUV_BENCH=OFF -DMUV_WERROR=ON >/dev/null
fi
ninja -C "$build" -j2 "${targets[@]}"
# The game's pictures and music come from the generated data folder.
if ! ls "$data"/*.grh >/dev/null 2>&1; then
    ninja -C "$build" -j2 muv_assets
    data="$build/gamedata"
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work"/{block_file,macro,ogg,read_item,numbers} "$build/artifacts"

# Block files: each picture behind two bytes giving its buffer's room (5000 words).
for f in "$data"/*.grh; do
    { printf '\x88\x13'; cat "$f"; } >"$work/block_file/$(basename "$f")"
done
cp "$root"/tests/fuzz/seeds/macro/* "$work/macro/"
cp "$data"/*.ogg "$work/ogg/"
cp "$data"/LEVEL.MGS "$data"/sound.cop "$work/read_item/" 2>/dev/null || true
printf '"\x8e"\r\n' >"$work/read_item/level3"
printf '" 1"\r\n' >"$work/read_item/sound1"
printf '  abc  ,"x"\n\rdef\x1a' >"$work/read_item/mixed"
for s in " 1" "-2.5" "1E+10" "&H1F" "1D-3" ".5" "  12 34"; do
    printf '%s' "$s" >"$work/numbers/$(echo "$s" | tr -c 'A-Za-z0-9' _)"
done
printf '\x00\x00\x80\x3f' >"$work/numbers/one"
printf '\xdb\x0f\x49\x40' >"$work/numbers/pi"

failed=0
export LSAN_OPTIONS="suppressions=$root/tests/fuzz/lsan.supp:print_suppressions=0"
for t in "${targets[@]}"; do
    corpus="$work/${t#fuzz_}"
    # Longer Ogg seeds are cut to 64 KiB: enough for the headers and many audio pages.
    maxlen=()
    [ "$t" = fuzz_ogg ] && maxlen=(-max_len=65536)
    echo "== $t for ${seconds}s"
    if ! "$build/tests/fuzz/$t" "$corpus" -max_total_time="$seconds" -rss_limit_mb=2048 \
            -artifact_prefix="$build/artifacts/$t-" -print_final_stats=1 "${maxlen[@]}" \
            >"$work/$t.log" 2>&1; then
        tail -40 "$work/$t.log"
        echo "!! $t found a crash; input in $build/artifacts/" >&2
        failed=1
    else
        grep -E 'stat::number_of_executed_units|stat::peak_rss_mb' "$work/$t.log" | tr '\n' ' '
        echo
    fi
done
exit "$failed"
