#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer + UBSan) and runs each briefly.
# Seconds in all, shared out among the targets (at least 5 each): $VLT_FUZZ_SECONDS (default 24).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if ! command -v clang++ >/dev/null; then
    echo "clang++ not found: fuzzing skipped"
    exit 0
fi
total="${VLT_FUZZ_SECONDS:-24}"
build="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVLT_FUZZ=ON -DVLT_SANITIZE=ON -DVLT_WERROR=ON >/dev/null
targets=()
for source in "$root"/fuzz/*Fuzz.cpp; do
    targets+=("$(basename "$source" .cpp)")
done
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"
seconds=$((total / ${#targets[@]}))
[ "$seconds" -lt 5 ] && seconds=5
for target in "${targets[@]}"; do
    corpus="$build/corpus-$target"
    mkdir -p "$corpus"
    seeds="$root/fuzz/seeds/$target"
    echo "== fuzzing $target for ${seconds}s"
    "$build/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 "$corpus" \
        $( [ -d "$seeds" ] && echo "$seeds" ) 2>&1 | tail -n 12
done
