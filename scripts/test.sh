#!/usr/bin/env bash
# Builds VLT twice (plain, and with AddressSanitizer + UndefinedBehaviorSanitizer) and runs every
# test in both builds. Installs missing Debian packages first.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/deps.sh"
vlt_install_missing

echo "== Source tree checks"
bash "$root/scripts/check-tree.sh"

jobs="$(nproc)"
export QT_QPA_PLATFORM=offscreen

build_and_test() {
    local dir="$1"
    shift
    cmake -S "$root" -B "$root/$dir" -G Ninja "$@"
    cmake --build "$root/$dir" -j "$jobs"
    (cd "$root/$dir" && ctest --output-on-failure -j "$jobs" --timeout 600)
}

# Release, as scripts/run.sh builds it: the optimiser at -O3 warns where -O2 does not.
echo "== Plain build"
build_and_test build -DCMAKE_BUILD_TYPE=Release -DVLT_WERROR=ON

echo "== Sanitizer build (ASan + UBSan)"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
build_and_test build-asan -DCMAKE_BUILD_TYPE=Debug -DVLT_WERROR=ON -DVLT_SANITIZE=ON

if [ -x "$root/scripts/fuzz.sh" ]; then
    echo "== Fuzzing"
    "$root/scripts/fuzz.sh"
fi
