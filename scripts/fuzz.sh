#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer + UBSan) and runs each briefly.
# Seconds in all, shared out among the targets (at least 5 each): $VLT_FUZZ_SECONDS (default 24).
# Fails when a target crashes, or when its final coverage stays below its floor: a sign that the
# code it fuzzes is not instrumented and the fuzzer runs blind.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if ! command -v clang++ >/dev/null; then
    echo "clang++ not found: fuzzing skipped"
    exit 0
fi
total="${VLT_FUZZ_SECONDS:-24}"
# Edges ("cov:") each target must reach: a little below what its seeds alone reach (249, 833,
# 407), well below five seconds on a third of a busy core (394, 1146, 529), yet far above a blind
# target (under 190, 65 and 90: every edge it has).
declare -A floor=([ContainerFuzz]=240 [ImportFuzz]=700 [RtfFuzz]=320)
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
status=0
for target in "${targets[@]}"; do
    corpus="$build/corpus-$target"
    mkdir -p "$corpus"
    inputs=("$corpus")
    [ -d "$root/fuzz/seeds/$target" ] && inputs+=("$root/fuzz/seeds/$target")
    log="$build/$target.log"
    echo "== fuzzing $target for ${seconds}s"
    "$build/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 "${inputs[@]}" \
        >"$log" 2>&1 || {
        tail -n 40 "$log"
        echo "fuzz: $target failed, whole log in $log" >&2
        exit 1
    }
    grep -E "DONE|^Done |^stat::" "$log"
    cov="$(sed -nE 's/.*DONE +cov: ([0-9]+) .*/\1/p' "$log")"
    if [ -z "${floor[$target]:-}" ]; then
        echo "fuzz: $target has no coverage floor in scripts/fuzz.sh" >&2
        status=1
    elif [ -z "$cov" ] || [ "$cov" -lt "${floor[$target]}" ]; then
        echo "fuzz: $target reached cov ${cov:-?}, below its floor of ${floor[$target]}:" \
            "is the code it links instrumented?" >&2
        status=1
    fi
done
exit $status
